// The frame's animation steps on a window that was never created: no GL.
#include <gtest/gtest.h>

#include <cmath>

#include "support/scene_wnd_probe.hpp"

namespace {

class SceneAnimation : public ::testing::Test {
 protected:
  CSceneWnd window;
  SceneWndProbe probe{window};
};

TEST_F(SceneAnimation, StartsAtTheFirstFrameValues) {
  EXPECT_EQ(probe.GroundAngle(), 0.0f);
  EXPECT_EQ(probe.BobOffset(), 0.0f);
  EXPECT_EQ(probe.BobVelocity(), 0.015f);
  EXPECT_TRUE(probe.SantaVisible());
  EXPECT_EQ(probe.SantaX(), -2.0f);
  EXPECT_EQ(probe.SantaY(), 0.65f);
}

TEST_F(SceneAnimation, GroundTurnsTwentyFiveDegreesPerSecond) {
  probe.FrameDelta() = 1000.0f;
  probe.AnimateGround();
  EXPECT_EQ(probe.GroundAngle(), 25.0f);
  // The product is taken in double and rounded once where it is stored:
  // 15.9f x 0.025 = 0.39749999..., while in float it would be 0.39750001.
  probe.GroundAngle() = 0.0f;
  probe.FrameDelta() = 15.9f;
  probe.AnimateGround();
  EXPECT_EQ(probe.GroundAngle(), 0.397499979f);
  EXPECT_NE(probe.GroundAngle(), 0.397500008f);
}

TEST_F(SceneAnimation, TurnPastAFullCircleWrapsAndBringsSantaBack) {
  probe.SantaVisible() = false;
  probe.GroundAngle() = 359.9f;
  probe.FrameDelta() = 16.0f;  // + 0.4 degrees: 360.3
  probe.AnimateGround();
  EXPECT_NEAR(probe.GroundAngle(), 0.3f, 1e-4f);
  EXPECT_GE(probe.GroundAngle(), 0.0f);
  EXPECT_TRUE(probe.SantaVisible());
}

TEST_F(SceneAnimation, AngleJustBelowAFullCircleStaysAndKeepsSantaHidden) {
  probe.SantaVisible() = false;
  probe.GroundAngle() = 359.0f;
  probe.FrameDelta() = 16.0f;
  probe.AnimateGround();
  EXPECT_EQ(probe.GroundAngle(), 359.4f);
  EXPECT_FALSE(probe.SantaVisible());
}

TEST_F(SceneAnimation, BobFlipsOnlyPastOneAndAHalfAndOvershoots) {
  int frames = 0;
  while (probe.BobVelocity() > 0 && frames < 1000) {
    probe.FrameDelta() = 16.0f;
    probe.AnimateGround();
    ++frames;
    if (probe.BobVelocity() > 0) {
      EXPECT_LE(probe.BobOffset(), 1.5f) << frames;
    }
  }
  EXPECT_EQ(frames, 101);  // 0.015 per frame: the first offset above 1.5
  EXPECT_GT(probe.BobOffset(), 1.5f);
  EXPECT_LT(probe.BobOffset(), 1.5f + 0.015f);
  EXPECT_EQ(probe.BobVelocity(), -0.015f);
}

TEST_F(SceneAnimation, BobAtExactlyOneAndAHalfDoesNotFlip) {
  // A velocity of +0 shows a flip as -0.
  for (float edge : {1.5f, -1.5f}) {
    probe.BobOffset() = edge;
    probe.BobVelocity() = 0.0f;
    probe.AnimateGround();
    EXPECT_FALSE(std::signbit(probe.BobVelocity())) << edge;
  }
  probe.BobOffset() = std::nextafter(1.5f, 2.0f);
  probe.AnimateGround();
  EXPECT_TRUE(std::signbit(probe.BobVelocity()));
}

TEST_F(SceneAnimation, BobIsPerFrameAndIgnoresTheFrameDelta) {
  probe.FrameDelta() = 100000.0f;  // a long stall
  probe.AnimateGround();
  EXPECT_EQ(probe.BobOffset(), 0.015f);
  // The turn catches up in one go: 2500 degrees, one wrap taken off.
  EXPECT_EQ(probe.GroundAngle(), 2140.0f);
}

TEST_F(SceneAnimation, SantaCrossesAtOneUnitPerSecondAndHidesAtTheRightEdge) {
  probe.FrameDelta() = 1000.0f;
  probe.MoveSanta();
  EXPECT_EQ(probe.SantaX(), -1.0f);
  EXPECT_TRUE(probe.SantaVisible());
  probe.MoveSanta();
  probe.MoveSanta();
  EXPECT_EQ(probe.SantaX(), 1.0f);
  probe.MoveSanta();  // reaches 2.0
  EXPECT_FALSE(probe.SantaVisible());
  EXPECT_EQ(probe.SantaX(), -2.0f);
}

TEST_F(SceneAnimation, ALongStallMovesSantaByTheWholeTime) {
  probe.FrameDelta() = 3999.0f;
  probe.MoveSanta();
  EXPECT_TRUE(probe.SantaVisible());
  EXPECT_NEAR(probe.SantaX(), 1.999f, 1e-6f);
}

}  // namespace
