// The frame's animation steps: the window's first values, and the steps on
// their own, with no GL.
#include <gtest/gtest.h>

#include <cmath>

#include "scene/motion.hpp"
#include "shell/scene_wnd.hpp"

namespace {

TEST(SceneAnimation, StartsAtTheFirstFrameValues) {
  CSceneWnd window;
  const SceneAnimation state = window.Animation();
  EXPECT_EQ(state.groundAngle, 0.0f);
  EXPECT_EQ(state.bobOffset, 0.0f);
  EXPECT_EQ(state.bobVelocity, 0.015f);
  EXPECT_TRUE(state.santaVisible);
  EXPECT_EQ(state.santaX, -2.0f);
  EXPECT_EQ(state.santaY, 0.65f);
}

TEST(SceneAnimation, GroundTurnsTwentyFiveDegreesPerSecond) {
  float angle = 0.0f;
  scene::TurnGround(angle, 1000.0f);
  EXPECT_EQ(angle, 25.0f);
  // The product is taken in double and rounded once where it is stored:
  // 15.9f x 0.025 = 0.39749999..., while in float it would be 0.39750001.
  angle = 0.0f;
  scene::TurnGround(angle, 15.9f);
  EXPECT_EQ(angle, 0.397499979f);
  EXPECT_NE(angle, 0.397500008f);
}

TEST(SceneAnimation, TurnPastAFullCircleWraps) {
  float angle = 359.9f;
  EXPECT_TRUE(scene::TurnGround(angle, 16.0f));  // + 0.4 degrees: 360.3
  EXPECT_NEAR(angle, 0.3f, 1e-4f);
  EXPECT_GE(angle, 0.0f);
}

TEST(SceneAnimation, AngleJustBelowAFullCircleStays) {
  float angle = 359.0f;
  EXPECT_FALSE(scene::TurnGround(angle, 16.0f));
  EXPECT_EQ(angle, 359.4f);
}

TEST(SceneAnimation, BobFlipsOnlyPastOneAndAHalfAndOvershoots) {
  float offset = 0.0f, velocity = 0.015f;
  int frames = 0;
  while (velocity > 0 && frames < 1000) {
    scene::BobGround(offset, velocity);
    ++frames;
    if (velocity > 0) {
      EXPECT_LE(offset, 1.5f) << frames;
    }
  }
  EXPECT_EQ(frames, 101);  // 0.015 per frame: the first offset above 1.5
  EXPECT_GT(offset, 1.5f);
  EXPECT_LT(offset, 1.5f + 0.015f);
  EXPECT_EQ(velocity, -0.015f);
}

TEST(SceneAnimation, BobAtExactlyOneAndAHalfDoesNotFlip) {
  // A velocity of +0 shows a flip as -0.
  for (float edge : {1.5f, -1.5f}) {
    float offset = edge, velocity = 0.0f;
    scene::BobGround(offset, velocity);
    EXPECT_FALSE(std::signbit(velocity)) << edge;
  }
  float offset = std::nextafter(1.5f, 2.0f), velocity = 0.0f;
  scene::BobGround(offset, velocity);
  EXPECT_TRUE(std::signbit(velocity));
}

TEST(SceneAnimation, ALongStallTurnsTheGroundByTheWholeTimeInOneGo) {
  float angle = 0.0f;
  // 2500 degrees, one wrap taken off.
  EXPECT_TRUE(scene::TurnGround(angle, 100000.0f));
  EXPECT_EQ(angle, 2140.0f);
}

TEST(SceneAnimation, SantaCrossesAtOneUnitPerSecondAndGoesBackAtTheRightEdge) {
  float x = -2.0f;
  EXPECT_FALSE(scene::MoveSanta(x, 1000.0f));
  EXPECT_EQ(x, -1.0f);
  scene::MoveSanta(x, 1000.0f);
  EXPECT_FALSE(scene::MoveSanta(x, 1000.0f));
  EXPECT_EQ(x, 1.0f);
  EXPECT_TRUE(scene::MoveSanta(x, 1000.0f));  // reaches 2.0
  EXPECT_EQ(x, -2.0f);
}

TEST(SceneAnimation, ALongStallMovesSantaByTheWholeTime) {
  float x = -2.0f;
  EXPECT_FALSE(scene::MoveSanta(x, 3999.0f));
  EXPECT_NEAR(x, 1.999f, 1e-6f);
}

}  // namespace
