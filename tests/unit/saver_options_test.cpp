// The saver's choice of window, in the order the screensaver daemons rely
// on: --window-id, then XSCREENSAVER_WINDOW, then --root, then its own; and
// the options XScreenSaver's hacks take, in both of their spellings; and
// the frame rate -fps shows.
#include "saver/saver_options.hpp"

#include <gtest/gtest.h>

#include "saver/frame_rate_meter.hpp"

namespace {

std::optional<SaverOptions> Parse(std::vector<std::string> args, const char* env = nullptr,
                                  std::string* error = nullptr) {
  std::string message;
  auto options = ParseSaverOptions(args, env, message);
  if (error) *error = message;
  return options;
}

void ExpectWindow(const std::optional<SaverOptions>& options, unsigned long id) {
  ASSERT_TRUE(options);
  EXPECT_EQ(options->window, platform::SaverWindow::Given);
  EXPECT_EQ(options->windowId, id);
}

TEST(SaverOptions, NothingGivenMeansAWindowOfItsOwn) {
  const auto options = Parse({});
  ASSERT_TRUE(options);
  EXPECT_EQ(options->window, platform::SaverWindow::Own);
  EXPECT_EQ(Parse({}, "")->window, platform::SaverWindow::Own);
}

TEST(SaverOptions, WindowIdInDecimalAndHex) {
  ExpectWindow(Parse({"--window-id", "4194311"}), 0x400007);
  ExpectWindow(Parse({"--window-id", "0x400007"}), 4194311);
  ExpectWindow(Parse({"--window-id", "0X1fffffff"}), 536870911);
}

// XScreenSaver's preview runs the hack as --root --window-id ID with the
// variable set too; the given id wins over both.
TEST(SaverOptions, WindowIdWinsOverTheVariableAndRoot) {
  ExpectWindow(Parse({"--root", "--window-id", "0x600008"}, "0x500001"), 0x600008);
  ExpectWindow(Parse({"--root"}, "0x500001"), 0x500001);
  ExpectWindow(Parse({}, "12"), 12);
}

TEST(SaverOptions, RootWithoutTheVariable) {
  const auto options = Parse({"--root"});
  ASSERT_TRUE(options);
  EXPECT_EQ(options->window, platform::SaverWindow::Root);
}

TEST(SaverOptions, TheLayersOverTheVariableAndRootWithAnOutput) {
  const auto background = Parse({"-root", "--background", "--output", "HEADLESS-2"}, "0x400007");
  ASSERT_TRUE(background);
  EXPECT_EQ(background->window, platform::SaverWindow::Background);
  EXPECT_EQ(background->outputName, "HEADLESS-2");
  const auto overlay = Parse({"-overlay"});
  ASSERT_TRUE(overlay);
  EXPECT_EQ(overlay->window, platform::SaverWindow::Overlay);
  EXPECT_EQ(overlay->outputName, "");
  ExpectWindow(Parse({"--overlay", "--window-id", "0x400007"}), 0x400007);
  std::string error;
  EXPECT_FALSE(Parse({"--background", "--output"}, nullptr, &error));
  EXPECT_EQ(error, "--output needs a value");
}

TEST(SaverOptions, ProblemsAreOneSentence) {
  std::string error;
  for (const auto& bad : std::vector<std::vector<std::string>>{
           {"--window-id"}, {"--window-id", ""}, {"--window-id", "0x"}, {"--window-id", "0"},
           {"--window-id", "-5"}, {"--window-id", "12abc"}, {"--window-id", " 12"},
           {"--window-id", "0x20000000"}, {"--window-id", "99999999999999999999999"},
           {"--fullscreen"}, {"root"}, {"-"}, {"---root"}, {"-delay"}, {"--delay", ""},
           {"--delay", "-1"}, {"--delay", "1.5"}, {"-delay", "10000001"}, {"-delay", "0x10"},
           {"-delay", " 5"}, {"--fps", "--bogus"}}) {
    EXPECT_FALSE(Parse(bad, nullptr, &error)) << bad.back();
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(error.find('\n'), std::string::npos);
  }
  EXPECT_FALSE(Parse({}, "0xzz", &error));
  EXPECT_EQ(error,
            "XSCREENSAVER_WINDOW \"0xzz\" is not a window id (a number such as 4194311 or 0x400007)");
}

// XScreenSaver's settings write the one-dash forms (-root, -delay N, -fps),
// people and MATE's settings often the two-dash ones: both mean the same.
TEST(SaverOptions, EveryOptionHasBothSpellings) {
  for (const char* root : {"-root", "--root"})
    EXPECT_EQ(Parse({root})->window, platform::SaverWindow::Root) << root;
  for (const char* id : {"-window-id", "--window-id"}) ExpectWindow(Parse({id, "0x42"}), 0x42);
  for (const char* fps : {"-fps", "--fps"}) EXPECT_TRUE(Parse({fps})->showFrameRate) << fps;
  for (const char* delay : {"-delay", "--delay"})
    EXPECT_EQ(Parse({delay, "5000"})->delayMicroseconds, 5000) << delay;
  for (const char* help : {"-help", "--help", "-h"}) EXPECT_TRUE(Parse({help})->help) << help;
}

// Hacks rest 30000 microseconds between frames unless told otherwise; the
// settings' slider runs from 0 (as fast as it goes) upwards.
TEST(SaverOptions, DelayDefaultsToAHacksAndTakesItsRange) {
  const auto plain = Parse({"-root"});
  EXPECT_EQ(plain->delayMicroseconds, 30000);
  EXPECT_FALSE(plain->showFrameRate);
  EXPECT_FALSE(plain->help);
  EXPECT_EQ(Parse({"-delay", "0"})->delayMicroseconds, 0);
  EXPECT_EQ(Parse({"-delay", "10000000"})->delayMicroseconds, 10000000);
  // The last one given counts, as in a hack's resources.
  EXPECT_EQ(Parse({"-delay", "100", "--delay", "200"})->delayMicroseconds, 200);
}

// XScreenSaver's own line and the options its settings add, all at once.
TEST(SaverOptions, AHacksWholeCommandLine) {
  const auto options = Parse({"-root", "-delay", "20000", "-fps"}, "0x1200004");
  ExpectWindow(options, 0x1200004);
  EXPECT_EQ(options->delayMicroseconds, 20000);
  EXPECT_TRUE(options->showFrameRate);
}

// --help wins over a window that is not there: it needs none.
TEST(SaverOptions, HelpNeedsNoWindow) {
  const auto options = Parse({"--help"}, "0xzz");
  ASSERT_TRUE(options);
  EXPECT_TRUE(options->help);
  const std::string usage = SaverUsage();
  EXPECT_EQ(usage.rfind("usage: winterhain-saver ", 0), 0u);
  for (const char* option : {"--root", "--window-id", "--delay", "--fps", "--help"})
    EXPECT_NE(usage.find(option), std::string::npos) << option;
  EXPECT_EQ(usage.back(), '\n');
}

// What -fps shows: frames over the last whole second, renewed once a second.
TEST(SaverFrameRate, FramesOverTheLastSecond) {
  using namespace std::chrono_literals;
  FrameRateMeter meter;
  const FrameRateMeter::Clock::time_point start{};
  // Frames every 40 ms: the first starts the count, 25 more fill the second.
  for (int frame = 0; frame < 25; ++frame) {
    meter.Frame(start + frame * 40ms);
    EXPECT_LT(meter.Rate(), 0) << "before a whole second, at frame " << frame;
  }
  meter.Frame(start + 1000ms);
  EXPECT_DOUBLE_EQ(meter.Rate(), 25.0);
  // Then 4 frames 300 ms apart: the next span ends at 1.2 s past it.
  for (int frame = 1; frame <= 3; ++frame) meter.Frame(start + 1000ms + frame * 300ms);
  EXPECT_DOUBLE_EQ(meter.Rate(), 25.0);
  meter.Frame(start + 2200ms);
  EXPECT_DOUBLE_EQ(meter.Rate(), 4 / 1.2);
}

}  // namespace
