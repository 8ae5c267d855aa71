// Which physical keys count as Escape: the ones whose unshifted symbol in
// the current layout is Escape, wherever they are on the keyboard.
#include <gtest/gtest.h>

#include <vector>

#include "platform/x11/key_state.hpp"

namespace {

// Keysym values as the X protocol defines them.
constexpr unsigned long kEscape = 0xff1b;
constexpr unsigned long kCapsLock = 0xffe5;
constexpr unsigned long kLetterA = 0x61;
constexpr unsigned long kNoSymbol = 0;

// A mapping with two symbols a keycode (plain, shifted) from keycode 8 on.
std::vector<unsigned long> Mapping(std::vector<std::vector<unsigned long>> keys) {
  std::vector<unsigned long> flat;
  for (const auto& key : keys) flat.insert(flat.end(), key.begin(), key.end());
  return flat;
}

TEST(KeySymbols, TheUsualLayoutHasEscapeOnKeycodeNine) {
  const auto map = Mapping({{kNoSymbol, kNoSymbol}, {kEscape, kNoSymbol}, {kLetterA, 0x41}});
  EXPECT_EQ(platform::x11::KeycodesProducing(kEscape, 8, 3, 2, map.data()), std::vector<int>{9});
}

TEST(KeySymbols, ARemappedLayoutMovesEscapeToAnotherKey) {
  // keycode 9 now types "a", the caps lock key (keycode 10 here) gives Escape.
  const auto map = Mapping({{kNoSymbol, kNoSymbol}, {kLetterA, 0x41}, {kEscape, kCapsLock}});
  EXPECT_EQ(platform::x11::KeycodesProducing(kEscape, 8, 3, 2, map.data()), std::vector<int>{10});
}

TEST(KeySymbols, EveryKeyProducingEscapeCounts) {
  const auto map = Mapping({{kEscape, kNoSymbol}, {kLetterA, 0x41}, {kEscape, kNoSymbol}});
  EXPECT_EQ(platform::x11::KeycodesProducing(kEscape, 8, 3, 2, map.data()), (std::vector<int>{8, 10}));
}

TEST(KeySymbols, EscapeOnlyWithShiftDoesNotCount) {
  const auto map = Mapping({{kLetterA, kEscape}});
  EXPECT_TRUE(platform::x11::KeycodesProducing(kEscape, 8, 1, 2, map.data()).empty());
}

TEST(KeySymbols, KeyVectorBitsAreKeycodes) {
  char keys[32] = {};
  keys[66 / 8] = 1 << (66 % 8);  // keycode 66 down: byte 8, bit 2
  EXPECT_TRUE(platform::x11::AnyKeycodeDown(keys, {66}));
  EXPECT_TRUE(platform::x11::AnyKeycodeDown(keys, {9, 66}));
  EXPECT_FALSE(platform::x11::AnyKeycodeDown(keys, {9}));
  EXPECT_FALSE(platform::x11::AnyKeycodeDown(keys, {65, 67}));
  EXPECT_FALSE(platform::x11::AnyKeycodeDown(keys, {}));
}

}  // namespace
