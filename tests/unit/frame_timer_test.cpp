#include "shell/frame_timer.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "support/scripted_clock.hpp"

namespace {

// Expected readings were worked out with exact rational arithmetic: the
// float nearest 1/1000 is 8589935 / 2^33, so one count of the
// millisecond source reads 1073741875 / 2^30 ms; the float nearest 10^-9 is
// 0.000000000999999971718...; every product below is exact in double.
constexpr double kMilliScale = 1.0000000474974513;  // 1073741875 / 2^30

TEST(FrameTimer, HighResolutionReadingsUseTheSinglePrecisionScale) {
  ScriptedClock source(true, 1'000'000'000);
  source.Set(5'000'000'000);
  CFrameTimer timer(source);
  timer.Start();
  EXPECT_EQ(timer.GetTime(), 0.0);
  source.Set(5'000'000'000 + 16'000'000);
  EXPECT_EQ(timer.GetTime(), 15.999999547489097);
  // 1e-9 is not exact in single precision: the scale error stays in.
  EXPECT_NE(timer.GetTime(), 16.0);
  EXPECT_NEAR(timer.GetTime(), 16.0, 16.0 * 6e-8);
}

TEST(FrameTimer, MillisecondSourceIsUsedWithoutACounter) {
  ScriptedClock source(false, 0);
  source.Set(123'456);
  CFrameTimer timer(source);
  timer.Start();
  EXPECT_EQ(timer.GetTime(), 0.0);
  source.Set(123'456 + 250);
  EXPECT_EQ(timer.GetTime(), 250.00001187436283);
}

TEST(FrameTimer, MillisecondReadingsAreNeverSinglePrecisionValues) {
  // Every whole-millisecond reading from 1 ms up to 2^24 ms falls between
  // two floats, so a frame in the same millisecond still ends the wait.
  ScriptedClock source(false, 0);
  CFrameTimer timer(source);
  timer.Start();
  for (std::int64_t ms : {1LL, 2LL, 3LL, 999LL, 16'384LL, 1'000'000LL, (1LL << 24) - 1}) {
    source.Set(ms);
    const double reading = timer.GetTime();
    EXPECT_NE(reading, static_cast<double>(static_cast<float>(reading))) << ms;
  }
}

TEST(FrameTimer, MillisecondWrapKeepsTimeRunningForward) {
  ScriptedClock source(false, 0);
  source.Set(0xFFFF'FFF0);
  CFrameTimer timer(source);
  timer.Start();
  source.Set(0x10);  // the 32-bit count wrapped: 32 ms later
  EXPECT_EQ(timer.GetTime(), 32.00000151991844);
}

TEST(FrameWait, FirstFrameWaitsWhileTheReadingEqualsTheStoredTime) {
  ScriptedClock source(false, 0);
  source.Set(0);
  CFrameTimer timer(source);
  timer.Start();
  float lastTime = static_cast<float>(timer.GetTime());  // 0: taken in the start millisecond
  source.Queue(0);
  source.Queue(0);
  source.Queue(1);
  source.reads = 0;
  const float delta = WaitForNextFrame(timer, lastTime);
  EXPECT_EQ(source.reads, 3);  // two equal readings discarded
  // 1.0000000475 ms rounds to 1.0f: its distance to 1 is under half a step.
  EXPECT_EQ(delta, 1.0f);
  EXPECT_EQ(lastTime, 1.0f);
}

TEST(FrameWait, AReadingDifferingOnlyByRoundingEndsTheWait) {
  // Same millisecond as the previous frame: the reading is the same double,
  // but the stored last time is its float rounding, so the wait ends with a
  // tiny delta of either sign, at most half a float spacing.
  ScriptedClock source(false, 0);
  CFrameTimer timer(source);
  timer.Start();
  bool sawPositive = false, sawNegative = false;
  for (std::int64_t ms = 1; ms < 4000; ms += 7) {
    source.Set(ms);
    float lastTime = static_cast<float>(timer.GetTime());
    const float delta = WaitForNextFrame(timer, lastTime);
    ASSERT_NE(delta, 0.0f) << ms;
    // The reading lies a hair above ms, in the same binade: its float step
    // is that of ms.
    const float whole = static_cast<float>(ms);
    EXPECT_LE(std::fabs(delta), (std::nextafter(whole, 1e9f) - whole) / 2) << ms;
    EXPECT_LT(std::fabs(delta), 0.0005f) << ms;  // within the first 16.384 s
    sawPositive |= delta > 0;
    sawNegative |= delta < 0;
  }
  EXPECT_TRUE(sawPositive);
  EXPECT_TRUE(sawNegative);
}

TEST(FrameWait, AfterTwoToThe24MillisecondsDeltasStayWithinOneMillisecond) {
  // Stored times are 2 ms apart there; each delta starts from the unrounded
  // reading, so it is off the true elapsed time by at most 1 ms.
  ScriptedClock source(true, 1000);
  source.Set(0);
  CFrameTimer timer(source);
  timer.Start();
  const std::int64_t start = (1LL << 24) + 1;
  source.Set(start);
  float lastTime = static_cast<float>(timer.GetTime());
  for (std::int64_t ms = start + 1; ms < start + 200; ms += 3) {
    source.Set(ms);
    const double elapsed = (ms == start + 1 ? 1 : 3) * kMilliScale;
    const float delta = WaitForNextFrame(timer, lastTime);
    EXPECT_LE(std::fabs(static_cast<double>(delta) - elapsed), 1.0 + 1e-6) << ms;
    EXPECT_EQ(std::fmod(static_cast<double>(lastTime), 2.0), 0.0);
  }
}

TEST(FrameWait, DeltaIsTheUnroundedDifference) {
  ScriptedClock source(true, 1024);  // 1/1024 is exact: readings are exact
  source.Set(0);
  CFrameTimer timer(source);
  timer.Start();
  float lastTime = static_cast<float>(timer.GetTime());
  source.Set(16 * 1024 + 512);
  EXPECT_EQ(WaitForNextFrame(timer, lastTime), 16500.0f);  // 16.5 s
  source.Set(10 * 1024);  // the clock going back gives a negative delta
  EXPECT_EQ(WaitForNextFrame(timer, lastTime), -6500.0f);
}

}  // namespace
