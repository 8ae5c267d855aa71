// The snowfall on the software renderer: what a frame shows, how flakes mix
// with the picture and the depth buffer, and the respawns of a real run.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <numbers>
#include <optional>
#include <utility>
#include <vector>

#include "scene/snowfall.hpp"
#include "scene_capture.hpp"
#include "shell/scene_wnd.hpp"
#include "support/bmp_writer.hpp"
#include "support/gl_window.hpp"
#include "support/reference_draws.hpp"
#include "support/temp_data_dir.hpp"

namespace {

using testbmp::Rgb;
using Image = std::vector<std::uint8_t>;

constexpr int kWidth = 160;
constexpr int kHeight = 120;

// The scene's eye space and the state DrawScene leaves for the flakes: depth
// test on (LEQUAL), blending off with the ONE, ONE function, texturing on.
void SetUpEyeSpace(float grey) {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(45.0, 4.0 / 3.0, 0.1, 100.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  glBlendFunc(GL_ONE, GL_ONE);
  glDisable(GL_BLEND);
  glEnable(GL_TEXTURE_2D);
  glClearColor(grey, grey, grey, 0.0f);
  glClearDepth(1.0);
}

void Clear() { glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT); }

Image ReadRgb() {
  Image pixels(static_cast<std::size_t>(kWidth) * kHeight * 3);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, kWidth, kHeight, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
  return pixels;
}

std::vector<SnowFlake> Copy(const CSnowfall& snowfall) {
  return std::vector<SnowFlake>(snowfall.Flakes(), snowfall.Flakes() + CSnowfall::kFlakeCount);
}

bool SameBits(const std::vector<SnowFlake>& a, const std::vector<SnowFlake>& b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof a[0]) == 0;
}

// Where a flake's centre lands in the frame, worked out from the projection
// (45 degrees vertical, 4:3, the viewer looking along -z): the column and
// the row from the bottom. Nothing for centres behind the near plane or
// close to the frame's edge.
std::optional<std::pair<int, int>> CentrePixel(const SnowFlake& flake) {
  if (flake.z > -0.2f) return std::nullopt;
  const double focal = 1.0 / std::tan(22.5 * std::numbers::pi / 180.0);
  const double ndcX = focal / (4.0 / 3.0) * flake.x / -flake.z;
  const double ndcY = focal * flake.y / -flake.z;
  if (std::fabs(ndcX) > 0.95 || std::fabs(ndcY) > 0.95) return std::nullopt;
  return std::pair{static_cast<int>((ndcX + 1.0) / 2.0 * kWidth),
                   static_cast<int>((ndcY + 1.0) / 2.0 * kHeight)};
}

// The share of the flakes in view whose centre has a lit pixel within one
// pixel of it: every part of the flake picture is lit, so a flake drawn
// there lights its centre unless it is seen exactly edge on.
double ShareLitAtCentres(const Image& frame, const std::vector<SnowFlake>& flakes) {
  int inView = 0, lit = 0;
  for (const SnowFlake& flake : flakes) {
    const auto centre = CentrePixel(flake);
    if (!centre) continue;
    ++inView;
    bool found = false;
    for (int dy = -1; dy <= 1 && !found; ++dy)
      for (int dx = -1; dx <= 1 && !found; ++dx) {
        const std::size_t i =
            (static_cast<std::size_t>(centre->second + dy) * kWidth + centre->first + dx) * 3;
        found = frame[i] != 0 || frame[i + 1] != 0 || frame[i + 2] != 0;
      }
    lit += found;
  }
  return inView > 0 ? static_cast<double>(lit) / inView : 0.0;
}

// A flake picture with a different colour in each quarter, so a turned or
// mirrored flake looks different.
bool WriteQuarteredFlake(const TempDataDir& dir) {
  return testbmp::WriteFile(dir.Data("snowFlake.bmp"), testbmp::Bmp24(8, 8, [](int x, int y) {
                              return Rgb{static_cast<std::uint8_t>(x < 4 ? 40 : 20),
                                         static_cast<std::uint8_t>(y < 4 ? 30 : 10),
                                         static_cast<std::uint8_t>(x < 4 && y < 4 ? 50 : 0)};
                            }));
}

int CountDiffering(const Image& a, const Image& b) {
  int count = 0;
  for (std::size_t i = 0; i < a.size(); ++i) count += a[i] != b[i];
  return count;
}

// ---- What a frame shows -------------------------------------------------

TEST(SnowfallFrame, TheFirstFrameShowsTheSeededPlacesAndMovesAfterwards) {
  TempDataDir dir;
  ASSERT_TRUE(WriteQuarteredFlake(dir));
  GlWindow window(kWidth, kHeight);
  SetUpEyeSpace(0.0f);
  CSnowfall snowfall;
  snowfall.Init();
  const std::vector<SnowFlake> seeded = Copy(snowfall);

  Clear();
  snowfall.Draw(1000.0f);
  const Image first = ReadRgb();
  const std::vector<SnowFlake> moved = Copy(snowfall);
  ASSERT_FALSE(SameBits(moved, seeded)) << "a second of fall moves the flakes";
  EXPECT_GT(CountDiffering(first, Image(first.size(), 0)), 500) << "flakes are drawn";

  // Each frame shows the flakes where they stood when it began; a second of
  // fall (5 to 25 units) takes them far from there.
  EXPECT_GT(ShareLitAtCentres(first, seeded), 0.9);
  EXPECT_LT(ShareLitAtCentres(first, moved), 0.5);

  // The next frame shows where the first one left them; a zero delta then
  // moves nothing, so the frame after is the same picture.
  Clear();
  snowfall.Draw(0.0f);
  const Image second = ReadRgb();
  EXPECT_GT(ShareLitAtCentres(second, moved), 0.9);
  EXPECT_GT(CountDiffering(second, first), 0);
  Clear();
  snowfall.Draw(0.0f);
  EXPECT_EQ(CountDiffering(ReadRgb(), second), 0);
}

class SnowfallMixing : public ::testing::Test {
 protected:
  static constexpr int kGrey = 64;
  static constexpr int kRed = 60;

  void SetUp() override {
    ASSERT_TRUE(testbmp::WriteSolidBmp(dir.Data("snowFlake.bmp"), 4, 4, Rgb{kRed, 0, 0}));
    SetUpEyeSpace(kGrey / 255.0f);
    snowfall.Init();
    // A first still frame respawns the flakes seeded right at the ground;
    // from then on a zero delta changes nothing.
    Clear();
    snowfall.Draw(0.0f);
    still = Copy(snowfall);
  }

  TempDataDir dir;
  GlWindow window{kWidth, kHeight};
  CSnowfall snowfall;
  std::vector<SnowFlake> still;
};

TEST_F(SnowfallMixing, FlakesAddTheirPictureToWhatIsBehindThem) {
  Clear();
  snowfall.Draw(0.0f);
  const Image frame = ReadRgb();
  EXPECT_TRUE(SameBits(Copy(snowfall), still)) << "a zero delta moves and turns nothing";

  int lit = 0, wrong = 0;
  for (std::size_t i = 0; i < frame.size(); i += 3) {
    const int r = frame[i], g = frame[i + 1], b = frame[i + 2];
    // Added: the grey shows through, plus a whole number of flakes of red.
    if (g != kGrey || b != kGrey) ++wrong;
    if (r != 255 && std::abs((r - kGrey) - (r - kGrey + kRed / 2) / kRed * kRed) > 1) ++wrong;
    if (r > kGrey) ++lit;
  }
  EXPECT_EQ(wrong, 0);
  EXPECT_GT(lit, 100);
}

TEST_F(SnowfallMixing, LeavesBlendingOffAndTheDepthTestAndFunctionAsTheyWere) {
  Clear();
  snowfall.Draw(16.0f);
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  GLint source = 0, destination = 0;
  glGetIntegerv(GL_BLEND_SRC, &source);
  glGetIntegerv(GL_BLEND_DST, &destination);
  EXPECT_EQ(source, GL_ONE);
  EXPECT_EQ(destination, GL_ONE);
  GLint matrixDepth = 0;
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &matrixDepth);
  EXPECT_EQ(matrixDepth, 1);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(SnowfallMixing, NearerThingsHideFlakesAndFlakesWriteDepth) {
  Clear();
  snowfall.Draw(0.0f);
  const Image open = ReadRgb();
  std::vector<float> depth(static_cast<std::size_t>(kWidth) * kHeight);
  glReadPixels(0, 0, kWidth, kHeight, GL_DEPTH_COMPONENT, GL_FLOAT, depth.data());

  // A wall 5 units away over the left half of the view, into the depth
  // buffer only, as the ground, trees and snowman are before the flakes.
  Clear();
  glDisable(GL_TEXTURE_2D);
  glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
  glBegin(GL_QUADS);
  glVertex3f(-10.0f, 10.0f, -5.0f);
  glVertex3f(0.0f, 10.0f, -5.0f);
  glVertex3f(0.0f, -10.0f, -5.0f);
  glVertex3f(-10.0f, -10.0f, -5.0f);
  glEnd();
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  glEnable(GL_TEXTURE_2D);
  snowfall.Draw(0.0f);
  const Image walled = ReadRgb();

  int hiddenPixels = 0, rightDiffers = 0, leftBrighter = 0, drawnDepth = 0;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const std::size_t i = (static_cast<std::size_t>(y) * kWidth + x) * 3;
      if (open[i] > kGrey) drawnDepth += depth[i / 3] < 1.0f;
      if (x >= kWidth / 2 + 1) {
        rightDiffers += walled[i] != open[i];
      } else if (x <= kWidth / 2 - 2) {
        leftBrighter += walled[i] > open[i];
        hiddenPixels += walled[i] < open[i];
      }
    }
  }
  EXPECT_EQ(rightDiffers, 0) << "no wall there";
  EXPECT_EQ(leftBrighter, 0);
  EXPECT_GT(hiddenPixels, 50) << "flakes behind the wall are hidden";
  EXPECT_GT(drawnDepth, 100) << "drawn flakes leave their depth";
}

// ---- In the real scene --------------------------------------------------

class SnowfallInScene : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(testbmp::WriteSolidBmp(dir.Data("snow.bmp"), 4, 4, Rgb{128, 128, 128}));
    ASSERT_TRUE(testbmp::WriteSolidBmp(dir.Data("santa.bmp"), 4, 4, Rgb{255, 255, 255}));
    ASSERT_TRUE(testbmp::WriteSolidBmp(dir.Data("greetings.bmp"), 8, 2, Rgb{0, 0, 0}));
  }

  Image Capture(Rgb flake) {
    EXPECT_TRUE(testbmp::WriteSolidBmp(dir.Data("snowFlake.bmp"), 4, 4, flake));
    SceneCapture capture(320, 240);
    EXPECT_TRUE(capture.Ok());
    capture.Run({16.0}, true);
    return capture.LastFrame();
  }

  TempDataDir dir;
};

TEST_F(SnowfallInScene, FlakesOnlyAddLightToTheFrame) {
  // Black flakes add nothing, so that frame is the scene without snow.
  const Image bare = Capture(Rgb{0, 0, 0});
  const Image snowy = Capture(Rgb{90, 0, 0});
  ASSERT_EQ(bare.size(), snowy.size());
  int otherChannels = 0, darker = 0, lit = 0;
  for (std::size_t i = 0; i < bare.size(); i += 3) {
    otherChannels += bare[i + 1] != snowy[i + 1] || bare[i + 2] != snowy[i + 2];
    darker += snowy[i] < bare[i];
    lit += snowy[i] > bare[i];
  }
  EXPECT_EQ(otherChannels, 0);
  EXPECT_EQ(darker, 0);
  EXPECT_GT(lit, 200);
}

// ---- A whole run, in a fresh process ----------------------------------


// One frame of the flakes as the rules have it, drawing respawns from the
// reference in block order.
void ExpectedFrame(std::vector<SnowFlake>& flakes, float delta, ReferenceDraws& draws) {
  const double step = snowflake::AngleStep(delta);
  for (SnowFlake& f : flakes) {
    if (snowflake::Fall(f, delta, step)) {
      int s[snowflake::kRespawnDraws];
      draws.Fill(s);
      snowflake::Respawn(f, s);
    }
  }
}

// Seeds and runs a snowfall through a few frames in a freshly started copy
// of this binary, where the generator starts at 1, and compares every flake
// with the reference after each frame.
int RunFromTheFirstDrawAndExit() {
  int status = 0;
  {
    TempDataDir dir;
    WriteQuarteredFlake(dir);
    GlWindow window(kWidth, kHeight);
    SetUpEyeSpace(0.0f);
    CSnowfall snowfall;
    snowfall.Init();
    ReferenceDraws draws;
    std::vector<SnowFlake> expected(CSnowfall::kFlakeCount);
    for (SnowFlake& f : expected) {
      int r[snowflake::kSeedDraws];
      draws.Fill(r);
      snowflake::Seed(f, r);
    }
    if (!SameBits(Copy(snowfall), expected)) {
      std::fprintf(stderr, "seeded flakes differ\n");
      status = 1;
    }
    // A stall takes every flake through the ground: all respawn, in order.
    // Then ordinary frames, a long one, a backwards one.
    for (float delta : {1.0e6f, 16.0f, 300.0f, 120.5f, -7.25f, 2000.0f, 16.0f}) {
      Clear();
      snowfall.Draw(delta);
      ExpectedFrame(expected, delta, draws);
      if (!SameBits(Copy(snowfall), expected)) {
        std::fprintf(stderr, "flakes differ after a frame of %g ms\n", delta);
        status = 1;
      }
      if (delta == 1.0e6f) {
        for (const SnowFlake& f : expected)
          if (f.y != 25.0f) status = 1;
      }
    }
  }
  std::_Exit(status);
}

TEST(SnowfallRun, EveryRunSeedsAndRespawnsTheSameFlakesInTheSameOrder) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(RunFromTheFirstDrawAndExit(), ::testing::ExitedWithCode(0), "");
  EXPECT_EXIT(RunFromTheFirstDrawAndExit(), ::testing::ExitedWithCode(0), "");
}

}  // namespace
