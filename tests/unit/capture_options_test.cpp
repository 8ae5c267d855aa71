// The capture tool's command line, which other tools rely on.
#include "capture_options.hpp"

#include <gtest/gtest.h>

#include <utility>

namespace {

std::optional<CaptureOptions> Parse(std::vector<std::string> args, std::string* error = nullptr) {
  std::string message;
  auto options = ParseCaptureOptions(args, message);
  if (error) *error = message;
  return options;
}

TEST(CaptureOptions, DeltaListExpandsRepeatsInOrder) {
  // 0.001 ms is the shortest frame delta; 3 h (a suspend) is no longer one.
  const auto options = Parse({"--deltas", "16x3,10800000,0.001,2.5x2"});
  ASSERT_TRUE(options);
  EXPECT_EQ(options->deltas, (std::vector<double>{16, 16, 16, 10800000, 0.001, 2.5, 2.5}));
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

// A clock going back, an endless run or one longer than 1e12 ms in all, and
// a frame too short to move the clock (the frame loop would wait forever)
// are refused, each with its reason.
TEST(CaptureOptions, ImpossibleFrameTimesSayWhy) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"-16", "the clock only moves forward"},
      {"16,-0.5", "the clock only moves forward"},
      {"1e308", "more than 1e12 ms"},
      {"inf", "more than 1e12 ms"},
      {"1e12,0.001", "more than 1e12 ms"},
      {"16,1e8x10001", "more than 1e12 ms"},
      {"1e-9", "at least 0.001 ms"},
      {"nan", "not a number"},
  };
  for (const auto& [deltas, reason] : cases) {
    std::string error;
    EXPECT_FALSE(Parse({"--deltas", deltas}, &error)) << deltas;
    EXPECT_NE(error.find(reason), std::string::npos) << deltas << ": " << error;
  }
}

TEST(CaptureOptions, HelpNeedsNothingElse) {
  const std::vector<std::vector<std::string>> helps = {{"--help"}, {"--deltas", "16", "--help"}};
  for (const auto& args : helps) {
    const auto options = Parse(args);
    ASSERT_TRUE(options) << ::testing::PrintToString(args);
    EXPECT_TRUE(options->help);
  }
}

}  // namespace
