// A long run of the real scene window on the manual clock: more than 2^25 ms
// (9.3 hours) of frames, with big steps to get far quickly and realistic
// 16.7 ms frames around the marks where the stored last time (a float) loses
// precision: 1 ms spacing below 2^24 ms, 2 ms above, 4 ms above 2^25 ms.
// Every frame is checked: the frame delta against the time the test really
// advanced, the ground's angle, Santa, the bob, and every flake; and the
// second half of the run must not grow the process.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <set>
#include <vector>

#include "scene/snowfall.hpp"
#include "scene_capture.hpp"
#include "shell/scene_wnd.hpp"
#include "support/bmp_writer.hpp"
#include "support/resident_memory.hpp"
#include "support/temp_data_dir.hpp"

namespace {

using testbmp::Rgb;

constexpr double kTwo24 = 16777216.0;  // ms: 4.66 hours
constexpr double kTwo25 = 2 * kTwo24;
constexpr double kRealisticFrame = 16.7;
// Big steps stay below 14400 ms, the delta at which the ground would turn a
// full 360 degrees in one frame.
constexpr double kLargestStep = 14000.0;
// Big steps start here; between them they average 10500 ms.
constexpr double kSmallestStep = 7000.0;
// How far around each mark realistic frames run: 20 s of scene time.
constexpr double kAroundMark = 10000.0;
// The manual clock's readings lie within 1.2e-7 ms of the set time; this
// covers two readings plus double rounding with room to spare.
constexpr double kClockSlack = 1e-6;

// Half the distance from |x| to the next float above it: the most a value
// that rounds to x can differ from x (also across a power of two, where the
// spacing above is the larger one).
double HalfSpacing(float x) {
  const float a = std::fabs(x);
  return (static_cast<double>(std::nextafter(a, std::numeric_limits<float>::infinity())) - a) / 2;
}

// The fall speeds a flake can have: seeded 0.005 ... 0.025 per ms, reborn
// 0.01 ... 0.10 per ms, each a whole number of steps taken in double.
std::set<float> PossibleSpeeds() {
  std::set<float> speeds;
  for (int k = 1; k <= 5; ++k) speeds.insert(static_cast<float>(k * static_cast<double>(0.005f)));
  for (int k = 1; k <= 10; ++k) speeds.insert(static_cast<float>(k * static_cast<double>(0.01f)));
  return speeds;
}

class LongRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(testbmp::WriteSolidBmp(dir.Data("snow.bmp"), 4, 4, Rgb{200, 200, 200}));
    ASSERT_TRUE(testbmp::WriteSolidBmp(dir.Data("santa.bmp"), 4, 4, Rgb{255, 255, 255}));
    ASSERT_TRUE(testbmp::WriteSolidBmp(dir.Data("greetings.bmp"), 8, 2, Rgb{0, 0, 0}));
    ASSERT_TRUE(testbmp::WriteSolidBmp(dir.Data("snowFlake.bmp"), 4, 4, Rgb{90, 90, 90}));
  }

  // Runs one frame advanced by `advance` ms and checks everything after it.
  void Frame(SceneCapture& capture, double advance) {
    const SceneAnimation previous = capture.Window().Animation();
    const float previousLastTime = previous.lastTime;
    const double before = m_trueTime;
    m_trueTime += advance;  // the same sum the manual clock keeps
    const double elapsed = m_trueTime - before;
    capture.Run({advance}, false);
    ++m_frames;
    const SceneAnimation after = capture.Window().Animation();

    // The frame delta is the true elapsed time, up to the rounding of the
    // stored last time (to float) and of the delta itself.
    const float delta = after.frameDelta;
    const double error = std::fabs(delta - elapsed);
    const double bound = HalfSpacing(previousLastTime) + HalfSpacing(delta) + kClockSlack;
    if (error > bound) {
      ADD_FAILURE() << "frame " << m_frames << " at " << m_trueTime << " ms: delta " << delta
                    << " for " << elapsed << " ms elapsed, off by " << error << " > " << bound;
    }
    if (m_trueTime > kTwo25)
      m_largestErrorPast25 = std::max(m_largestErrorPast25, error);
    else if (m_trueTime > kTwo24)
      m_largestErrorPast24 = std::max(m_largestErrorPast24, error);
    else
      m_largestErrorBelow24 = std::max(m_largestErrorBelow24, error);
    const float lastTime = after.lastTime;
    if (std::fabs(lastTime - m_trueTime) > HalfSpacing(lastTime) + kClockSlack)
      ADD_FAILURE() << "frame " << m_frames << ": last time " << lastTime << " for " << m_trueTime;

    const float angle = after.groundAngle;
    if (!(angle >= 0.0f && angle < 360.0f))
      ADD_FAILURE() << "frame " << m_frames << ": ground angle " << angle;
    const float santaX = after.santaX;
    if (!(santaX >= -2.0f && santaX < 2.0f))
      ADD_FAILURE() << "frame " << m_frames << ": Santa at " << santaX;
    // The bob turns round once it is past 1.5 either way: one step beyond at most.
    if (!(std::fabs(after.bobOffset) <= 1.5f + 0.015f + 1e-4f) ||
        std::fabs(after.bobVelocity) != 0.015f)
      ADD_FAILURE() << "frame " << m_frames << ": bob " << after.bobOffset << " moving "
                    << after.bobVelocity;
    CheckSanta(previous, after, elapsed);
    CheckFlakes(capture.Window().Snowfall());
  }

  // Santa comes back whenever the ground completes a turn (its angle went
  // down); otherwise a hidden one stays hidden, and a visible one is gone
  // after a little more than the 4 s it takes to cross from the left edge.
  void CheckSanta(const SceneAnimation& before, const SceneAnimation& after, double elapsed) {
    const bool turned = after.groundAngle < before.groundAngle;
    if (turned && !after.santaVisible)
      ADD_FAILURE() << "frame " << m_frames << ": the ground turned and Santa stays away";
    if (!turned && !before.santaVisible && after.santaVisible)
      ADD_FAILURE() << "frame " << m_frames << ": Santa came back with no turn";
    if (!turned && before.santaVisible && elapsed >= 4100.0 && after.santaVisible)
      ADD_FAILURE() << "frame " << m_frames << ": Santa still in the sky after " << elapsed
                    << " ms";
    m_santaReturns += turned;
    m_santaCrossings += before.santaVisible && !after.santaVisible;
  }

  // After a frame every flake is within the field, above the ground (one
  // that reached it was reborn at 25) and falls at one of its speeds.
  void CheckFlakes(const CSnowfall& snowfall) {
    int wrong = 0;
    for (int i = 0; i < CSnowfall::kFlakeCount; ++i) {
      const SnowFlake& f = snowfall.Flakes()[i];
      const bool ok = f.x >= -49.0f && f.x <= 49.0f && f.z >= -49.0f && f.z <= 0.0f &&
                      f.y >= -2.0f && f.y <= 25.0f && m_speeds.count(f.speed) == 1 &&
                      std::isfinite(f.angleX) && std::isfinite(f.angleY) && std::isfinite(f.angleZ);
      if (!ok && ++wrong <= 3)
        ADD_FAILURE() << "frame " << m_frames << ", flake " << i << ": x " << f.x << " y " << f.y
                      << " z " << f.z << " speed " << f.speed << " angles " << f.angleX << " "
                      << f.angleY << " " << f.angleZ;
      m_lowest = std::min(m_lowest, f.y);
      m_reborn += f.y == snowflake::kRespawnHeight;
    }
  }

  // Big steps of 7000 ... 14000 ms (not round numbers) until `until`.
  void BigStepsUntil(SceneCapture& capture, double until) {
    int k = 0;
    while (m_trueTime < until) {
      const double step = kSmallestStep + std::fmod(k++ * 2718.281828, kLargestStep - kSmallestStep);
      Frame(capture, std::min(step, std::max(until - m_trueTime, 1000.0)));
    }
  }
  void RealisticFramesUntil(SceneCapture& capture, double until) {
    while (m_trueTime < until) Frame(capture, kRealisticFrame);
  }

  TempDataDir dir;
  const std::set<float> m_speeds = PossibleSpeeds();
  double m_trueTime = 0.0;
  long m_frames = 0;
  double m_largestErrorBelow24 = 0.0;
  double m_largestErrorPast24 = 0.0;
  double m_largestErrorPast25 = 0.0;
  float m_lowest = 25.0f;
  long m_reborn = 0;
  long m_santaReturns = 0;
  long m_santaCrossings = 0;
};

TEST_F(LongRunTest, PastTwoToThe25MillisecondsTimeAnimationAndFlakesStayInBounds) {
  SceneCapture capture(64, 48);  // a tiny view keeps each frame cheap
  ASSERT_TRUE(capture.Ok());

  // First half: to just past 2^24 ms.
  RealisticFramesUntil(capture, 2000.0);
  BigStepsUntil(capture, kTwo24 - kAroundMark);
  RealisticFramesUntil(capture, kTwo24 + kAroundMark);
  const long framesInFirstHalf = m_frames;
  const long residentAfterFirstHalf = ResidentBytes();

  // Second half: as many ms again, to just past 2^25 ms.
  BigStepsUntil(capture, kTwo25 - kAroundMark);
  RealisticFramesUntil(capture, kTwo25 + kAroundMark);
  const long residentAfterSecondHalf = ResidentBytes();

  EXPECT_GT(m_trueTime, kTwo25);
  EXPECT_GT(capture.Window().Animation().lastTime, static_cast<float>(kTwo25));
  EXPECT_GE(m_frames - framesInFirstHalf, framesInFirstHalf - 200);  // halves of like size
  // The run reached each precision: errors only 2 ms (4 ms) spacing allows.
  EXPECT_LE(m_largestErrorBelow24, 0.5 + kClockSlack + 1e-5);
  EXPECT_GT(m_largestErrorPast24, 0.5);
  EXPECT_GT(m_largestErrorPast25, 1.0);
  // Flakes did reach the ground and were reborn, and the lowest ones stood
  // right down there, so the bounds were tested at their edges.
  EXPECT_GT(m_reborn, 10000);
  // Santa crossed and came back many times, so its checks had work to do.
  EXPECT_GT(m_santaReturns, 1000);
  EXPECT_GT(m_santaCrossings, 500);
  EXPECT_LT(m_lowest, -1.9f);

  ASSERT_GT(residentAfterFirstHalf, 0);
  ASSERT_GT(residentAfterSecondHalf, 0);
#if !defined(__SANITIZE_ADDRESS__)
  // (AddressSanitizer holds freed memory in quarantine, so there resident
  // memory grows by design and says nothing about leaks.)
  EXPECT_LE(residentAfterSecondHalf - residentAfterFirstHalf, 8L << 20)
      << "resident " << residentAfterFirstHalf << " -> " << residentAfterSecondHalf << " bytes";
#endif
  std::printf(
      "long run: %ld frames, %.0f ms of scene time; largest delta error %.3g / %.3g / %.3g ms "
      "below 2^24 / past 2^24 / past 2^25; resident %ld -> %ld KiB\n",
      m_frames, m_trueTime, m_largestErrorBelow24, m_largestErrorPast24, m_largestErrorPast25,
      residentAfterFirstHalf >> 10, residentAfterSecondHalf >> 10);
}

}  // namespace
