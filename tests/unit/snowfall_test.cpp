// The flake arithmetic without OpenGL: seeding, falling, turning and
// respawning, to the last bit, plus the seeding a fresh process makes.
// Expected values were worked out by hand and checked with exact rational
// arithmetic (Python's fractions, floats rounded through struct), not with
// the code under test; hex literals give the exact float where a decimal
// one would hide the last bit.
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

  // Draws 26962, 24464: 120 x 0.1f narrows to 12.0f; 12.0f - 140 x 0.1f in
  // double is -2.0000002086, nearest the float below -2 (with the second
  // term narrowed first it would be exactly -2).
  const SnowFlake& f1 = flakes[1];
  EXPECT_EQ(f1.x, -0x1.000002p+1f) << "the second term of x is subtracted unnarrowed";
  EXPECT_EQ(f1.y, 3.0f);
  EXPECT_EQ(f1.z, -45.0f);
  EXPECT_EQ(f1.angleX, 241.0f);
  EXPECT_EQ(f1.angleY, 267.0f);
  EXPECT_EQ(f1.angleZ, 241.0f);
  EXPECT_EQ(f1.speed, 0.01f);

  const SnowFlake& f2 = flakes[2];
  // 20 x 0.1f - 2.0 is 2^-25 in double; in float it would be 0.
  EXPECT_EQ(f2.y, 0x1p-25f) << "20 x 0.1f - 2.0 is taken in double before narrowing";
  EXPECT_EQ(f2.x, 0x1.7ffffap+1f);  // 45.0f - 420 x 0.1f: a hair below 3
  EXPECT_EQ(f2.z, -36.0f);
  EXPECT_EQ(f2.angleX, 351.0f);
  EXPECT_EQ(f2.angleY, 204.0f);
  EXPECT_EQ(f2.angleZ, 302.0f);
  EXPECT_EQ(f2.speed, 0.02f);
}

TEST(SnowflakeSeed, EachFieldFollowsItsDraw) {
  // r1 mod 50 = 3, r2 mod 50 = 1, r3 mod 25 = 5, r4 mod 50 = 7, angles,
  // r8 mod 5 = 2.
  // 3.0f - 1.0000000149 = 1.9999999851 narrows to 2; 5.0000000745 - 2 to
  // 3; -7.0000001043 to -7; 3 x 0.005f to 0.015f.
  const SnowFlake f = Seeded({53, 101, 30, 57, 361, 719, 1080, 7});
  EXPECT_EQ(f.x, 2.0f);
  EXPECT_EQ(f.y, 3.0f);
  EXPECT_EQ(f.z, -7.0f);
  EXPECT_EQ(f.angleX, 1.0f);
  EXPECT_EQ(f.angleY, 359.0f);
  EXPECT_EQ(f.angleZ, 0.0f);
  EXPECT_EQ(f.speed, 0.015f);
}

TEST(SnowflakeSeed, ReachesBothEndsOfEveryRange) {
  const SnowFlake high = Seeded({49, 0, 24, 0, 359, 359, 359, 4});
  EXPECT_EQ(high.x, 49.0f);
  EXPECT_EQ(high.y, 22.0f);
  EXPECT_EQ(high.z, 0.0f);
  // 5 x 0.005f in double narrows to the float just below 0.025f.
  EXPECT_EQ(high.speed, 0x1.999998p-6f);
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
  // k x 0.005f in double, narrowed: the fifth is the float just below 0.025f.
  EXPECT_EQ(speeds, (std::set<float>{0.005f, 0.01f, 0.015f, 0.02f, 0x1.999998p-6f}));
}

// ---- Respawning ------------------------------------------------------------

TEST(SnowflakeRespawn, PutsTheFlakeAtTwentyFiveWithFreshValues) {
  SnowFlake f{1.0f, -2.5f, -3.0f, 400.0f, 500.0f, 600.0f, 0.025f};
  snowflake::Respawn(f, {53, 101, 57, 361, 719, 1080, 9});
  EXPECT_EQ(f.y, 25.0f);
  // x and z by the seeding rules, as in EachFieldFollowsItsDraw.
  EXPECT_EQ(f.x, 2.0f);
  EXPECT_EQ(f.z, -7.0f);
  EXPECT_EQ(f.angleX, 1.0f);
  EXPECT_EQ(f.angleY, 359.0f);
  EXPECT_EQ(f.angleZ, 0.0f);
  // 10 x 0.01f in double is 0.1000000015, which narrows below 0.1f.
  EXPECT_EQ(f.speed, 0x1.999998p-4f);
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
  // k x 0.01f in double, narrowed: the 5th, 9th and 10th miss the floats
  // nearest 0.05, 0.09 and 0.1 by one step.
  EXPECT_EQ(speeds, (std::set<float>{0.01f, 0.02f, 0.03f, 0.04f, 0x1.999998p-5f, 0.06f, 0.07f,
                                     0.08f, 0x1.70a3d6p-4f, 0x1.999998p-4f}));
}

// ---- Falling and turning -----------------------------------------------

TEST(SnowflakeFall, MovesDownInDoubleAndNarrowsWhereStored) {
  SnowFlake f{0.0f, 7.0f, -10.0f, 89.0f, 244.0f, 318.0f, 0.02f};
  const bool down = snowflake::Fall(f, 16.0f, snowflake::AngleStep(16.0f));
  EXPECT_FALSE(down);
  EXPECT_EQ(f.y, 6.68f);  // 7 - 16 x 0.02
  EXPECT_EQ(f.x, 0.0f);
  EXPECT_EQ(f.z, -10.0f);
  EXPECT_EQ(f.speed, 0.02f);
  EXPECT_EQ(f.angleX, 90.6f);  // + 16 x 0.1 degrees
  EXPECT_EQ(f.angleY, 245.6f);
  EXPECT_EQ(f.angleZ, 319.6f);
}

TEST(SnowflakeFall, TheAngleStepUsesTheDoubleTenth) {
  EXPECT_EQ(snowflake::AngleStep(16.0f), 1.6);
  // With the single-precision tenth it would be 1.6000000238418579.
  EXPECT_NE(snowflake::AngleStep(16.0f), 1.6000000238418579);
  EXPECT_EQ(snowflake::AngleStep(0.0f), 0.0);
  EXPECT_EQ(snowflake::AngleStep(-3.0f), -0.30000000000000004);
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
    EXPECT_GT(f.y, before.y);
    EXPECT_LT(f.angleX, before.angleX);
    EXPECT_LT(f.angleY, before.angleY);
    EXPECT_LT(f.angleZ, before.angleZ);
    if (before.y == -2.0f) ++atGround;
  }
  EXPECT_GT(atGround, 0) << "flakes seeded at the ground stay too";
  // The first flake (7, 0.02 per ms, 89/244/318 degrees): up by 0.005,
  // back by 0.025 degrees.
  SnowFlake first = seeded[0];
  snowflake::Fall(first, delta, step);
  EXPECT_EQ(first.y, 7.005f);
  EXPECT_EQ(first.angleX, 88.975f);
  EXPECT_EQ(first.angleY, 243.975f);
  EXPECT_EQ(first.angleZ, 317.975f);
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
