// The scene's pseudo-random numbers: one linear congruential generator for
// the whole process, starting from state 1 and never seeded, so the snowfall
// begins the same way on every run.
#pragma once

#include <cstdint>

namespace scene_random {

// The state that follows `state`: state * 214013 + 2531011, modulo 2^32.
constexpr std::uint32_t NextState(std::uint32_t state) {
  return state * 214013u + 2531011u;
}

// The number a freshly stepped state yields: its bits 16 to 30, 0 ... 32767.
constexpr int ValueOf(std::uint32_t state) { return static_cast<int>((state >> 16) & 0x7FFFu); }

}  // namespace scene_random

// One draw from the process-wide generator: steps its state and returns the
// value, 0 ... 32767. The state starts at 1 when the program starts.
int SceneRandom();
