// The flake arithmetic without OpenGL: seeding, falling, turning and
// respawning, to the last bit, plus the seeding a fresh process makes.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <vector>

#include "scene/snowfall.hpp"
#include "scene/scene_random.hpp"
#include "support/reference_draws.hpp"
#include "support/temp_data_dir.hpp"

namespace {


// The 500 flakes Init makes from the generator's first 4000 draws.
std::vector<SnowFlake> ReferenceSeeding(ReferenceDraws& draws) {
  std::vector<SnowFlake> flakes(CSnowfall::kFlakeCount);
  for (SnowFlake& flake : flakes) {
    int r[snowflake::kSeedDraws];
    draws.Fill(r);
    snowflake::Seed(flake, r);
  }
  return flakes;
}

SnowFlake Seeded(const int (&draws)[snowflake::kSeedDraws]) {
  SnowFlake flake{};
  snowflake::Seed(flake, draws);
  return flake;
}

bool SameBits(const SnowFlake& a, const SnowFlake& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

float Below(float value, int ulps) {
  for (int i = 0; i < ulps; ++i) value = std::nextafter(value, -INFINITY);
  return value;
}

bool IsWhole(float value) { return value == std::floor(value); }

// ---- Seeding -------------------------------------------------------------

TEST(SnowflakeSeed, TheFirstThreeFlakesFromStateOne) {
  ReferenceDraws draws;
  const std::vector<SnowFlake> flakes = ReferenceSeeding(draws);

  const SnowFlake& f0 = flakes[0];
  EXPECT_EQ(f0.x, 24.0f);
  EXPECT_EQ(f0.y, 7.0f);
  EXPECT_EQ(f0.z, 0.0f);
  EXPECT_FALSE(std::signbit(f0.z)) << "the integer is negated, so zero stays +0";
  EXPECT_EQ(f0.angleX, 89.0f);
  EXPECT_EQ(f0.angleY, 244.0f);
  EXPECT_EQ(f0.angleZ, 318.0f);
  EXPECT_EQ(f0.speed, 0.02f);

  const SnowFlake& f1 = flakes[1];
  EXPECT_LT(f1.x, -2.0f) << "the second term of x is subtracted unnarrowed";
  EXPECT_GE(f1.x, Below(-2.0f, 4));
  EXPECT_EQ(f1.y, 3.0f);
  EXPECT_EQ(f1.z, -45.0f);
  EXPECT_EQ(f1.angleX, 241.0f);
  EXPECT_EQ(f1.angleY, 267.0f);
  EXPECT_EQ(f1.angleZ, 241.0f);
  EXPECT_EQ(f1.speed, 0.01f);

  const SnowFlake& f2 = flakes[2];
  EXPECT_GT(f2.y, 0.0f) << "20 x 0.1f - 2.0 is taken in double before narrowing";
  EXPECT_LT(f2.y, 1e-7f);
  EXPECT_EQ(f2.y, static_cast<float>(20 * static_cast<double>(0.1f) - 2.0));
}

TEST(SnowflakeSeed, EachFieldFollowsItsDraw) {
  // r1 mod 50 = 3, r2 mod 50 = 1, r3 mod 25 = 5, r4 mod 50 = 7, angles,
  // r8 mod 5 = 2.
  const SnowFlake f = Seeded({53, 101, 30, 57, 361, 719, 1080, 7});
  EXPECT_EQ(f.x, static_cast<float>(static_cast<float>(30 * static_cast<double>(0.1f)) -
                                    10 * static_cast<double>(0.1f)));
  EXPECT_EQ(f.y, static_cast<float>(50 * static_cast<double>(0.1f) - 2.0));
  EXPECT_EQ(f.z, static_cast<float>(-70 * static_cast<double>(0.1f)));
  EXPECT_EQ(f.angleX, 1.0f);
  EXPECT_EQ(f.angleY, 359.0f);
  EXPECT_EQ(f.angleZ, 0.0f);
  EXPECT_EQ(f.speed, static_cast<float>(3 * static_cast<double>(0.005f)));
}

TEST(SnowflakeSeed, ReachesBothEndsOfEveryRange) {
  const SnowFlake high = Seeded({49, 0, 24, 0, 359, 359, 359, 4});
  EXPECT_EQ(high.x, 49.0f);
  EXPECT_EQ(high.y, 22.0f);
  EXPECT_EQ(high.z, 0.0f);
  // 5 x 0.005f in double narrows to the float just below 0.025f.
  EXPECT_EQ(high.speed, static_cast<float>(5 * static_cast<double>(0.005f)));
  EXPECT_EQ(high.speed, std::nextafter(0.025f, 0.0f));
  const SnowFlake low = Seeded({0, 49, 0, 49, 0, 0, 0, 0});
  EXPECT_EQ(low.x, -49.0f);
  EXPECT_EQ(low.y, -2.0f);
  EXPECT_EQ(low.z, -49.0f);
  EXPECT_EQ(low.speed, 0.005f);
}

TEST(SnowflakeSeed, AllFiveHundredSeededFlakesLieInTheirRanges) {
  ReferenceDraws draws;
  const std::vector<SnowFlake> flakes = ReferenceSeeding(draws);
  std::set<float> speeds;
  for (std::size_t i = 0; i < flakes.size(); ++i) {
    const SnowFlake& f = flakes[i];
    SCOPED_TRACE(i);
    EXPECT_GE(f.x, -49.0f);
    EXPECT_LE(f.x, 49.0f);
    EXPECT_GE(f.y, -2.0f);
    EXPECT_LE(f.y, 22.0f);
    EXPECT_GE(f.z, -49.0f);
    EXPECT_LE(f.z, 0.0f);
    for (float angle : {f.angleX, f.angleY, f.angleZ}) {
      EXPECT_TRUE(IsWhole(angle));
      EXPECT_GE(angle, 0.0f);
      EXPECT_LE(angle, 359.0f);
    }
    speeds.insert(f.speed);
  }
  std::set<float> steps;
  for (int k = 1; k <= 5; ++k) steps.insert(static_cast<float>(k * static_cast<double>(0.005f)));
  EXPECT_EQ(speeds, steps);
}

// ---- Respawning ------------------------------------------------------------

TEST(SnowflakeRespawn, PutsTheFlakeAtTwentyFiveWithFreshValues) {
  SnowFlake f{1.0f, -2.5f, -3.0f, 400.0f, 500.0f, 600.0f, 0.025f};
  snowflake::Respawn(f, {53, 101, 57, 361, 719, 1080, 9});
  EXPECT_EQ(f.y, 25.0f);
  // x and z by the seeding rules.
  const SnowFlake seeded = Seeded({53, 101, 0, 57, 0, 0, 0, 0});
  EXPECT_EQ(f.x, seeded.x);
  EXPECT_EQ(f.z, seeded.z);
  EXPECT_EQ(f.angleX, 1.0f);
  EXPECT_EQ(f.angleY, 359.0f);
  EXPECT_EQ(f.angleZ, 0.0f);
  EXPECT_EQ(f.speed, static_cast<float>(10 * static_cast<double>(0.01f)));
}

TEST(SnowflakeRespawn, RespawnedFlakesLieInTheirRangesWithTenSpeeds) {
  ReferenceDraws draws;
  std::set<float> speeds;
  for (int i = 0; i < 2000; ++i) {
    SnowFlake f{};
    int s[snowflake::kRespawnDraws];
    draws.Fill(s);
    snowflake::Respawn(f, s);
    SCOPED_TRACE(i);
    EXPECT_EQ(f.y, 25.0f);
    EXPECT_GE(f.x, -49.0f);
    EXPECT_LE(f.x, 49.0f);
    EXPECT_GE(f.z, -49.0f);
    EXPECT_LE(f.z, 0.0f);
    for (float angle : {f.angleX, f.angleY, f.angleZ}) {
      EXPECT_TRUE(IsWhole(angle));
      EXPECT_LE(angle, 359.0f);
    }
    speeds.insert(f.speed);
  }
  std::set<float> steps;
  for (int k = 1; k <= 10; ++k) steps.insert(static_cast<float>(k * static_cast<double>(0.01f)));
  EXPECT_EQ(speeds, steps);
}

// ---- Falling and turning -----------------------------------------------

TEST(SnowflakeFall, MovesDownInDoubleAndNarrowsWhereStored) {
  SnowFlake f{0.0f, 7.0f, -10.0f, 89.0f, 244.0f, 318.0f, 0.02f};
  const bool down = snowflake::Fall(f, 16.0f, snowflake::AngleStep(16.0f));
  EXPECT_FALSE(down);
  EXPECT_EQ(f.y, static_cast<float>(7.0 - 16.0 * static_cast<double>(0.02f)));
  EXPECT_EQ(f.x, 0.0f);
  EXPECT_EQ(f.z, -10.0f);
  EXPECT_EQ(f.speed, 0.02f);
  EXPECT_EQ(f.angleX, static_cast<float>(89.0 + 16.0 * 0.1));
  EXPECT_EQ(f.angleY, static_cast<float>(244.0 + 16.0 * 0.1));
  EXPECT_EQ(f.angleZ, static_cast<float>(318.0 + 16.0 * 0.1));
}

TEST(SnowflakeFall, TheAngleStepUsesTheDoubleTenth) {
  EXPECT_EQ(snowflake::AngleStep(16.0f), 16.0 * 0.1);
  EXPECT_NE(snowflake::AngleStep(16.0f), 16.0 * static_cast<double>(0.1f));
  EXPECT_EQ(snowflake::AngleStep(0.0f), 0.0);
  EXPECT_EQ(snowflake::AngleStep(-3.0f), -3.0 * 0.1);
}

TEST(SnowflakeFall, TurnsByTheUnnarrowedStep) {
  // 1 + 2^-24 + 2^-50 narrows up to the next float above 1; a step narrowed
  // first would tie at 1 + 2^-24 and round back down to 1.
  SnowFlake f{0.0f, 10.0f, -5.0f, 1.0f, 1.0f, 1.0f, 0.01f};
  snowflake::Fall(f, 0.0f, 0x1p-24 + 0x1p-50);
  const float up = std::nextafter(1.0f, 2.0f);
  EXPECT_EQ(f.angleX, up);
  EXPECT_EQ(f.angleY, up);
  EXPECT_EQ(f.angleZ, up);
}

TEST(SnowflakeFall, AnglesAreNeverWrapped) {
  SnowFlake f{0.0f, 10.0f, -5.0f, 359.0f, 300.0f, 0.0f, 0.005f};
  snowflake::Fall(f, 100.0f, snowflake::AngleStep(100.0f));
  EXPECT_EQ(f.angleX, 369.0f);
  EXPECT_EQ(f.angleY, 310.0f);
  EXPECT_EQ(f.angleZ, 10.0f);
}

TEST(SnowflakeFall, AZeroDeltaMovesAndTurnsNothing) {
  ReferenceDraws draws;
  const std::vector<SnowFlake> seeded = ReferenceSeeding(draws);
  int checked = 0;
  for (const SnowFlake& before : seeded) {
    if (before.y == -2.0f) continue;  // see the next case
    SnowFlake f = before;
    EXPECT_FALSE(snowflake::Fall(f, 0.0f, snowflake::AngleStep(0.0f)));
    EXPECT_TRUE(SameBits(f, before));
    ++checked;
  }
  EXPECT_GT(checked, 400);
}

TEST(SnowflakeFall, AFlakeStoredExactlyAtTheGroundRespawnsEvenOnAZeroDelta) {
  // -2.0 - 0 is not above -2.0.
  SnowFlake f{5.0f, -2.0f, -5.0f, 10.0f, 20.0f, 30.0f, 0.01f};
  const SnowFlake before = f;
  EXPECT_TRUE(snowflake::Fall(f, 0.0f, 0.0));
  EXPECT_TRUE(SameBits(f, before));
}

TEST(SnowflakeFall, ANewHeightOfExactlyMinusTwoRespawns) {
  SnowFlake f{0.0f, -1.0f, -5.0f, 0.0f, 0.0f, 0.0f, 0.25f};
  EXPECT_TRUE(snowflake::Fall(f, 4.0f, snowflake::AngleStep(4.0f)));
  EXPECT_EQ(f.y, -2.0f);
}

TEST(SnowflakeFall, AHeightAHairAboveTheGroundWaitsOneFrame) {
  // -1 - 100 x 0.01f = -1.9999999776... in double: above -2, though it is
  // stored as exactly -2.0f (in float the fall would have reached -2).
  SnowFlake f{0.0f, -1.0f, -5.0f, 0.0f, 0.0f, 0.0f, 0.01f};
  const double height = -1.0 - 100.0 * static_cast<double>(0.01f);
  ASSERT_GT(height, -2.0);
  ASSERT_LT(height, -1.99999997);
  EXPECT_FALSE(snowflake::Fall(f, 100.0f, snowflake::AngleStep(100.0f)));
  EXPECT_EQ(f.y, -2.0f);
  // The next frame with any delta above 0 takes it below.
  SnowFlake next = f;
  EXPECT_TRUE(snowflake::Fall(next, 0.001f, snowflake::AngleStep(0.001f)));
  EXPECT_LT(next.y, -2.0f);
}

TEST(SnowflakeFall, ANegativeDeltaLiftsAndTurnsBackWithoutRespawning) {
  ReferenceDraws draws;
  const std::vector<SnowFlake> seeded = ReferenceSeeding(draws);
  const float delta = -0.25f;
  const double step = snowflake::AngleStep(delta);
  int atGround = 0;
  for (const SnowFlake& before : seeded) {
    SnowFlake f = before;
    EXPECT_FALSE(snowflake::Fall(f, delta, step));
    EXPECT_EQ(f.y, static_cast<float>(before.y + 0.25 * before.speed));
    EXPECT_GT(f.y, before.y);
    EXPECT_EQ(f.angleX, static_cast<float>(before.angleX + step));
    EXPECT_LT(f.angleY, before.angleY == 0.0f ? 0.0f : before.angleY);
    if (before.y == -2.0f) ++atGround;
  }
  EXPECT_GT(atGround, 0) << "flakes seeded at the ground stay too";
}

TEST(SnowflakeFall, AHugeDeltaSendsEveryFlakeThroughTheGround) {
  ReferenceDraws draws;
  const std::vector<SnowFlake> seeded = ReferenceSeeding(draws);
  for (const SnowFlake& before : seeded) {
    SnowFlake f = before;
    EXPECT_TRUE(snowflake::Fall(f, 1e6f, snowflake::AngleStep(1e6f)));
  }
  // A frame just short of the ground for the slowest flake from 22.
  SnowFlake slow{0.0f, 22.0f, -5.0f, 0.0f, 0.0f, 0.0f, 0.005f};
  EXPECT_FALSE(snowflake::Fall(slow, 4799.0f, snowflake::AngleStep(4799.0f)));
}

// ---- Init in a fresh process ---------------------------------------------

// Seeds a snowfall where the generator starts at 1 (a freshly started copy
// of this binary) and compares every flake with the reference, bit for bit.
// The flake picture is missing, so Init makes no OpenGL call.
int SeedInFreshProcessAndExit() {
  int status = 0;
  {
    TempDataDir dir;
    CSnowfall snowfall;
    snowfall.Init();
    ReferenceDraws draws;
    const std::vector<SnowFlake> expected = ReferenceSeeding(draws);
    for (int i = 0; i < CSnowfall::kFlakeCount; ++i) {
      if (!SameBits(snowfall.Flakes()[i], expected[i])) {
        std::fprintf(stderr, "flake %d differs\n", i);
        status = 1;
      }
    }
    // Init made exactly 8 draws a flake.
    if (SceneRandom() != draws.Next()) {
      std::fprintf(stderr, "Init did not make exactly 4000 draws\n");
      status = 1;
    }
  }
  std::_Exit(status);
}

TEST(SnowfallInit, EveryRunSeedsTheSameFlakesFromTheFirstDraws) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  // Two runs of the program: each must match the same reference.
  EXPECT_EXIT(SeedInFreshProcessAndExit(), ::testing::ExitedWithCode(0), "");
  EXPECT_EXIT(SeedInFreshProcessAndExit(), ::testing::ExitedWithCode(0), "");
}

}  // namespace
