// The saver's choice of window, in the order the screensaver daemons rely
// on: --window-id, then XSCREENSAVER_WINDOW, then --root, then its own.
#include "saver/saver_options.hpp"

#include <gtest/gtest.h>

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

TEST(SaverOptions, ProblemsAreOneSentence) {
  std::string error;
  for (const auto& bad : std::vector<std::vector<std::string>>{
           {"--window-id"}, {"--window-id", ""}, {"--window-id", "0x"}, {"--window-id", "0"},
           {"--window-id", "-5"}, {"--window-id", "12abc"}, {"--window-id", " 12"},
           {"--window-id", "0x20000000"}, {"--window-id", "99999999999999999999999"},
           {"--fullscreen"}, {"root"}}) {
    EXPECT_FALSE(Parse(bad, nullptr, &error)) << bad.back();
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(error.find('\n'), std::string::npos);
  }
  EXPECT_FALSE(Parse({}, "0xzz", &error));
  EXPECT_EQ(error,
            "XSCREENSAVER_WINDOW \"0xzz\" is not a window id (a number such as 4194311 or 0x400007)");
}

}  // namespace
