// Whole frames of the real scene window on the software renderer, with small
// pictures of the test's own.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <vector>

#include "platform/platform.hpp"
#include "scene_capture.hpp"
#include "support/bmp_writer.hpp"
#include "support/resident_memory.hpp"
#include "support/temp_data_dir.hpp"

namespace {

using testbmp::Rgb;

struct Pixel {
  int r, g, b;
};

class SceneFrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(testbmp::WriteSolidBmp(dir.Data("snow.bmp"), 4, 4, Rgb{255, 255, 255}));
    ASSERT_TRUE(testbmp::WriteSolidBmp(dir.Data("santa.bmp"), 4, 4, Rgb{0, 0, 0}));
    ASSERT_TRUE(testbmp::WriteSolidBmp(dir.Data("greetings.bmp"), 8, 2, Rgb{100, 100, 100}));
    // Black flakes add nothing, so the flakes leave these pictures alone.
    ASSERT_TRUE(testbmp::WriteSolidBmp(dir.Data("snowFlake.bmp"), 4, 4, Rgb{0, 0, 0}));
  }

  Pixel At(const SceneCapture& capture, int x, int y) const {
    const std::uint8_t* p = &capture.LastFrame()[(static_cast<std::size_t>(y) * 640 + x) * 3];
    return Pixel{p[0], p[1], p[2]};
  }

  TempDataDir dir;
};

// 1 / tan(22.5 degrees): the projection's vertical scale at a 45-degree field of view.
const double kFortyFiveDegrees = 1.0 / std::tan(22.5 * M_PI / 180.0);

// The current context's projection spans 45 degrees at the 640 x 480
// design's aspect, and its viewport is `viewport`; returns the projection.
std::array<GLdouble, 16> ExpectDesignAspectAndViewport(const std::array<GLint, 4>& viewport) {
  std::array<GLdouble, 16> projection{};
  glGetDoublev(GL_PROJECTION_MATRIX, projection.data());
  EXPECT_NEAR(projection[0], kFortyFiveDegrees / (640.0 / 480.0), 1e-6);
  std::array<GLint, 4> current{};
  glGetIntegerv(GL_VIEWPORT, current.data());
  EXPECT_EQ(current, viewport);
  return projection;
}

// Rows of the 640 x 480 view: the banner and sprite are centred 0.65 above
// the view's middle at depth 2, about 52 pixels from the top; the far edge
// of the ground (50 units away, 2 below the eye) is near row 263.
constexpr int kBannerRow = 52;

TEST_F(SceneFrameTest, SkyIsAVerticalGradientAndTheGroundLiesBelowTheHorizon) {
  SceneCapture capture(640, 480);
  ASSERT_TRUE(capture.Ok());
  capture.Run({16.0}, true);
  const Pixel top = At(capture, 450, 0), lower = At(capture, 450, 240);
  EXPECT_EQ(top.r, 0);
  EXPECT_NEAR(top.g, 42, 3);  // 0.15 to 0.25 across the quad, seen from 14% down
  EXPECT_NEAR(top.b, 131, 3);
  EXPECT_GT(lower.g, top.g);
  EXPECT_GT(lower.b, top.b);
  for (int y : {280, 400, 479}) {
    const Pixel ground = At(capture, 320, y);
    EXPECT_EQ(ground.r, 255) << y;
    EXPECT_EQ(ground.b, 255) << y;
  }
  EXPECT_EQ(At(capture, 450, 250).r, 0);  // still sky just above the horizon
}

TEST_F(SceneFrameTest, BannerAddsLightOverTheSky) {
  SceneCapture capture(640, 480);
  ASSERT_TRUE(capture.Ok());
  capture.Run({16.0}, true);
  const Pixel banner = At(capture, 320, kBannerRow), sky = At(capture, 600, kBannerRow);
  EXPECT_NEAR(banner.r, sky.r + 100, 2);
  EXPECT_NEAR(banner.g, sky.g + 100, 2);
  EXPECT_NEAR(banner.b, sky.b + 100, 2);
}

TEST_F(SceneFrameTest, SantaDarkensTheSkyWhereItStands) {
  SceneCapture capture(640, 480);
  ASSERT_TRUE(capture.Ok());
  // One unit a second from x = -2: after 1.4 s it stands at x = -0.6, left
  // of the banner, about 174 pixels left of the middle.
  capture.Run({1400.0, 16.0}, true);
  const Pixel santa = At(capture, 146, kBannerRow), beside = At(capture, 146, kBannerRow + 40);
  EXPECT_EQ(santa.r + santa.g + santa.b, 0);
  EXPECT_GT(beside.b, 100);
  // At the start it is off the left edge: that place shows sky.
  SceneCapture first(640, 480);
  first.Run({16.0}, true);
  EXPECT_GT(At(first, 146, kBannerRow).b, 100);
}

TEST_F(SceneFrameTest, AFrameLeavesTheStandingRenderState) {
  SceneCapture capture(640, 480);
  ASSERT_TRUE(capture.Ok());
  capture.Run({16.0, 16.0}, false);
  std::array<GLfloat, 16> modelview{};
  glGetFloatv(GL_MODELVIEW_MATRIX, modelview.data());
  for (int i = 0; i < 16; ++i) EXPECT_EQ(modelview[i], i % 5 == 0 ? 1.0f : 0.0f) << i;
  EXPECT_EQ(glIsEnabled(GL_BLEND), GL_FALSE);
  EXPECT_EQ(glIsEnabled(GL_DEPTH_TEST), GL_TRUE);
  EXPECT_EQ(glIsEnabled(GL_TEXTURE_2D), GL_TRUE);
  EXPECT_EQ(glIsEnabled(GL_LIGHTING), GL_FALSE);
  GLint source = 0, destination = 0;
  glGetIntegerv(GL_BLEND_SRC, &source);
  glGetIntegerv(GL_BLEND_DST, &destination);
  EXPECT_EQ(source, GL_ONE);
  EXPECT_EQ(destination, GL_ONE);
  GLint depthFunc = 0;
  glGetIntegerv(GL_DEPTH_FUNC, &depthFunc);
  EXPECT_EQ(depthFunc, GL_LEQUAL);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(SceneFrameTest, ProjectionIsFortyFiveDegreesAtTheWindowsAspect) {
  SceneCapture capture(640, 480);
  ASSERT_TRUE(capture.Ok());
  const auto projection = ExpectDesignAspectAndViewport({0, 0, 640, 480});
  EXPECT_NEAR(projection[5], kFortyFiveDegrees, 1e-6);
}

// Where the design is shown in proportion (a screensaver's own window), an
// 800 x 480 window draws into its middle 640 x 480: the first size the
// scene hears of is 640 x 480, not the window's, and its viewport sits 80
// pixels in from the left.
TEST_F(SceneFrameTest, InProportionTheFirstSizeIsTheDesignAreasAndTheViewportIsInset) {
  platform::Shutdown();
  ASSERT_TRUE(platform::Init({.saverWindow = platform::SaverWindow::Own}));
  {
    SceneCapture capture(800, 480);
    ASSERT_TRUE(capture.Ok());
    ExpectDesignAspectAndViewport({80, 0, 640, 480});
  }
  platform::Shutdown();
}

// Off screen a swap draws nothing; frames the software renderer only queued
// would pile up at about a megabyte each. A long capture keeps its size.
TEST_F(SceneFrameTest, ALongCaptureDoesNotGrowAsFramesGoBy) {
  SceneCapture capture(640, 480);
  ASSERT_TRUE(capture.Ok());
  capture.Run(std::vector<double>(10, 16.0), false);
  const long before = ResidentBytes();
  capture.Run(std::vector<double>(100, 16.0), false);
  const long after = ResidentBytes();
  ASSERT_GT(before, 0);
  ASSERT_GT(after, 0);
#if !defined(__SANITIZE_ADDRESS__)
  // (AddressSanitizer holds freed memory in quarantine: growth there is by design.)
  EXPECT_LE(after - before, 16L << 20) << "resident " << before << " -> " << after << " bytes";
#endif
}

}  // namespace
