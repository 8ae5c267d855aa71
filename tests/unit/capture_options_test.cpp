// The capture tool's command line, which other tools rely on.
#include "capture_options.hpp"

#include <gtest/gtest.h>

namespace {

std::optional<CaptureOptions> Parse(std::vector<std::string> args, std::string* error = nullptr) {
  std::string message;
  auto options = ParseCaptureOptions(args, message);
  if (error) *error = message;
  return options;
}

TEST(CaptureOptions, DeltaListExpandsRepeatsInOrder) {
  const auto options = Parse({"--deltas", "16x3,10800,-0.5,2.5x2"});
  ASSERT_TRUE(options);
  EXPECT_EQ(options->deltas, (std::vector<double>{16, 16, 16, 10800, -0.5, 2.5, 2.5}));
  EXPECT_EQ(options->width, 640);
  EXPECT_EQ(options->height, 480);
  EXPECT_TRUE(options->pngPath.empty());
}

TEST(CaptureOptions, EmptyListRendersNoFrame) {
  const auto options = Parse({"--deltas", "", "--flakes", "f.txt"});
  ASSERT_TRUE(options);
  EXPECT_TRUE(options->deltas.empty());
  EXPECT_EQ(options->flakesPath, "f.txt");
}

TEST(CaptureOptions, AllOptionsTogether) {
  const auto options = Parse({"--size", "320x200", "--png", "a.png", "--deltas", "16"});
  ASSERT_TRUE(options);
  EXPECT_EQ(options->width, 320);
  EXPECT_EQ(options->height, 200);
  EXPECT_EQ(options->pngPath, "a.png");
}

TEST(CaptureOptions, BadArgumentsSayWhatIsWrong) {
  const std::vector<std::vector<std::string>> bad = {
      {},
      {"--deltas"},
      {"--deltas", "abc"},
      {"--deltas", "16x"},
      {"--deltas", "16x0"},
      {"--deltas", "16x-2"},
      {"--deltas", "0"},
      {"--deltas", "16,,16"},
      {"--deltas", "16,"},
      {"--deltas", "nan"},
      {"--deltas", "16", "--size", "640"},
      {"--deltas", "16", "--size", "0x480"},
      {"--deltas", "16", "--size", "99999x480"},
      {"--deltas", "16", "--bogus", "1"},
      {"--deltas", "", "--png", "a.png"},
  };
  for (const auto& args : bad) {
    std::string error;
    EXPECT_FALSE(Parse(args, &error)) << ::testing::PrintToString(args);
    EXPECT_FALSE(error.empty()) << ::testing::PrintToString(args);
  }
}

}  // namespace
