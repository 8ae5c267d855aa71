// The snowman on real OpenGL: the state Draw leaves behind, and how it looks
// straight ahead at a ground angle of 270 with pictures of the test's own.
#include "scene/snowman.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "scene_capture.hpp"
#include "support/bmp_writer.hpp"
#include "support/fresh_process.hpp"
#include "support/gl_window.hpp"
#include "support/quadric_watch.hpp"
#include "support/temp_data_dir.hpp"

namespace {

using testbmp::Rgb;
using Frame = std::vector<std::uint8_t>;

constexpr Rgb kBody{200, 150, 240};
constexpr Rgb kHatColour{255, 0, 0};
constexpr Rgb kSnow{90, 90, 90};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};
constexpr int kWidth = 640;
constexpr int kHeight = 480;

// Where the parts land at a ground angle of 270 and bob 0.015: the snowman
// 6 units straight ahead, its foot 2.015 below the eye; 96.6 pixels per unit
// at that depth (240 / tan(22.5) / 6).
constexpr int kHeadRow = 275;       // head centre, 1.65 above the foot
constexpr int kHeadHalf = 33;       // head radius 0.35
constexpr int kBodyRow = 372;       // body centre, 0.65 above the foot
constexpr int kAboveHeadRow = 225;  // inside the hat square, above the head

std::array<int, 3> Pixel(const Frame& frame, int x, int y) {
  const std::size_t at = (static_cast<std::size_t>(y) * kWidth + x) * 3;
  return {frame[at], frame[at + 1], frame[at + 2]};
}

std::array<int, 3> Rgb3(Rgb c) { return {c.r, c.g, c.b}; }

bool Near(const std::array<int, 3>& a, const std::array<int, 3>& b, int tolerance = 1) {
  for (int i = 0; i < 3; ++i)
    if (std::abs(a[i] - b[i]) > tolerance) return false;
  return true;
}

std::array<GLfloat, 16> Modelview() {
  std::array<GLfloat, 16> m{};
  glGetFloatv(GL_MODELVIEW_MATRIX, m.data());
  return m;
}

// Level 0 of the bound texture, its first texel as RGB.
std::array<int, 3> BoundTexel() {
  GLint width = 0, height = 0;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
  if (width <= 0 || height <= 0) return {-1, -1, -1};
  std::vector<unsigned char> texels(static_cast<std::size_t>(width) * height * 3);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
  return {texels[0], texels[1], texels[2]};
}

// The state the ground scene draws in.
void SetGroundSceneState() {
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_DEPTH_TEST);
  glDisable(GL_BLEND);
  glBlendFunc(GL_ONE, GL_ONE);
  glColor3f(1, 1, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glRotatef(270.0f, 0.0f, 1.0f, 0.0f);
  glTranslatef(0.0f, -2.015f, 0.0f);
}

void ExpectStateAfterDraw(const std::array<GLfloat, 16>& modelviewBefore) {
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  GLint src = 0, dst = 0;
  glGetIntegerv(GL_BLEND_SRC, &src);
  glGetIntegerv(GL_BLEND_DST, &dst);
  EXPECT_EQ(src, GL_ONE);
  EXPECT_EQ(dst, GL_ONE);
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
  GLfloat colour[4] = {};
  glGetFloatv(GL_CURRENT_COLOR, colour);
  EXPECT_FLOAT_EQ(colour[0], 1.0f);
  EXPECT_FLOAT_EQ(colour[1], 0.5f);
  EXPECT_FLOAT_EQ(colour[2], 0.0f);
  EXPECT_EQ(Modelview(), modelviewBefore);
  GLint depth = 0;
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
  EXPECT_EQ(depth, 1);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(SnowmanDraw, LeavesTheStandingStateTheHatBoundAndTheColourOrange) {
  if (CSnowman::s_texturesLoaded) {
    EXPECT_EQ(fresh_process::RunThisTestAgain({}), 0);
    return;
  }
  TempDataDir dir;
  ASSERT_TRUE(testbmp::WriteSolidBmp(dir.Data("Schneeman.bmp"), 8, 8, kBody));
  ASSERT_TRUE(testbmp::WriteSolidBmp(dir.Data("Gesicht.bmp"), 8, 8, kWhite));
  ASSERT_TRUE(testbmp::WriteSolidBmp(dir.Data("Muetze.bmp"), 8, 8, kHatColour));
  GlWindow window;
  CSnowman snowman;
  snowman.Init();
  EXPECT_TRUE(CSnowman::s_texturesLoaded);
  snowman.x = -6.0f;
  snowman.y = 0.0f;
  snowman.z = 0.0f;
  SetGroundSceneState();
  glBindTexture(GL_TEXTURE_2D, 0);
  const auto before = Modelview();

  snowman.Draw();

  ExpectStateAfterDraw(before);
  // The hat is recognised by its picture.
  GLint bound = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_NE(bound, 0);
  EXPECT_EQ(BoundTexel(), Rgb3(kHatColour));
}

TEST(SnowmanDraw, MissingQuadricsLeaveTheirPartsOutAndTheStateTheSame) {
  TempDataDir dir;
  GlWindow window;
  quadric_watch::Reset();
  quadric_watch::failuresLeft = 2;
  CSnowman snowman;
  snowman.Init();  // GLU is out of memory: neither quadric is made
  EXPECT_TRUE(quadric_watch::made.empty());
  snowman.x = snowman.y = snowman.z = 0.0f;

  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(-1.5, 1.5, -0.5, 2.5, -5, 5);
  SetGroundSceneState();
  glLoadIdentity();  // looking at the face square edge-on: it covers nothing
  const auto before = Modelview();
  snowman.Draw();
  ExpectStateAfterDraw(before);

  std::vector<unsigned char> pixels(64 * 64 * 3);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, 64, 64, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
  int covered = 0;
  for (unsigned char p : pixels) covered += p != 0;
  EXPECT_EQ(covered, 0);
}

// One whole frame at a ground angle of 270, drawn with the given face and
// hat pictures, in a process of its own: the snowman's pictures load only
// once per process.
struct Pictures {
  const char* name;
  bool halfBlackFace;  // right half of the face picture black, else white
  Rgb hat;
};

void WritePictures(const TempDataDir& dir, const Pictures& pictures) {
  ASSERT_TRUE(testbmp::WriteSolidBmp(dir.Data("snow.bmp"), 16, 16, kSnow));
  ASSERT_TRUE(testbmp::WriteSolidBmp(dir.Data("santa.bmp"), 8, 8, kWhite));      // multiplies
  ASSERT_TRUE(testbmp::WriteSolidBmp(dir.Data("greetings.bmp"), 8, 8, kBlack));  // adds
  ASSERT_TRUE(testbmp::WriteSolidBmp(dir.Data("snowFlake.bmp"), 8, 8, kBlack));  // adds
  ASSERT_TRUE(testbmp::WriteSolidBmp(dir.Data("Baumoben.bmp"), 8, 8, Rgb{20, 160, 40}));
  ASSERT_TRUE(testbmp::WriteSolidBmp(dir.Data("Baumstamm.bmp"), 8, 8, Rgb{150, 80, 10}));
  ASSERT_TRUE(testbmp::WriteSolidBmp(dir.Data("Schneeman.bmp"), 8, 8, kBody));
  const bool half = pictures.halfBlackFace;
  ASSERT_TRUE(testbmp::WriteFile(dir.Data("Gesicht.bmp"), testbmp::Bmp24(16, 16, [half](int x, int) {
                                   return half && x >= 8 ? kBlack : kWhite;
                                 })));
  ASSERT_TRUE(testbmp::WriteSolidBmp(dir.Data("Muetze.bmp"), 16, 16, pictures.hat));
}

Frame CaptureInOwnProcess(const Pictures& pictures) {
  const std::string out = ::testing::TempDir() + "snowman-frame-" + std::to_string(getpid()) + "-" +
                          pictures.name + ".rgb";
  std::remove(out.c_str());
  EXPECT_EQ(fresh_process::RunThisTestAgain(
                {"WINTERHAIN_SNOWMAN_PICTURES=" + std::string(pictures.name), "WINTERHAIN_FRAME_OUT=" + out}),
            0)
      << pictures.name;
  std::ifstream file(out, std::ios::binary);
  Frame frame{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  std::remove(out.c_str());
  return frame;
}

// In the new process: draw the frame and write it out.
void CaptureAndWrite(const Pictures& pictures, const char* out) {
  ASSERT_FALSE(CSnowman::s_texturesLoaded);
  TempDataDir dir;
  WritePictures(dir, pictures);
  SceneCapture capture(kWidth, kHeight);
  ASSERT_TRUE(capture.Ok());
  // The first frame turns the ground by 10800 x 0.025 = 270 degrees; the
  // second is drawn there, with the bob at 0.015.
  capture.Run({10800.0, 16.0}, true);
  std::ofstream file(out, std::ios::binary);
  file.write(reinterpret_cast<const char*>(capture.LastFrame().data()),
             static_cast<std::streamsize>(capture.LastFrame().size()));
  ASSERT_TRUE(file.good());
}

TEST(SnowmanFrame, StandsStraightAheadFacingTheViewerWithTheNoseToTheLeft) {
  const Pictures plain{"plain", false, kBlack};
  const Pictures halfFace{"half-face", true, kBlack};
  const Pictures redHat{"red-hat", false, kHatColour};
  if (const char* which = std::getenv("WINTERHAIN_SNOWMAN_PICTURES")) {
    for (const Pictures& p : {plain, halfFace, redHat})
      if (std::string(which) == p.name) CaptureAndWrite(p, std::getenv("WINTERHAIN_FRAME_OUT"));
    return;
  }
  const Frame a = CaptureInOwnProcess(plain);
  const Frame face = CaptureInOwnProcess(halfFace);
  const Frame hat = CaptureInOwnProcess(redHat);
  const std::size_t size = static_cast<std::size_t>(kWidth) * kHeight * 3;
  ASSERT_EQ(a.size(), size);
  ASSERT_EQ(face.size(), size);
  ASSERT_EQ(hat.size(), size);
  const auto body = Rgb3(kBody);

  // Straight ahead: the body is centred in the picture.
  int left = 320, right = 320;
  while (left > 0 && Near(Pixel(a, left - 1, kBodyRow), body)) --left;
  while (right < kWidth - 1 && Near(Pixel(a, right + 1, kBodyRow), body)) ++right;
  EXPECT_NEAR(320 - left, right - 319, 2);
  EXPECT_NEAR(right - left + 1, 2 * 63, 4);  // radius 0.65

  // A white face picture leaves the head as drawn: the body picture, untinted.
  for (int dx : {-20, -8, 8, 20}) EXPECT_TRUE(Near(Pixel(a, 320 + dx, kHeadRow - 10), body)) << dx;
  // The face square is turned to the viewer, the picture the right way
  // round: its black right half darkens the head's right half only.
  EXPECT_TRUE(Near(Pixel(face, 320 - 20, kHeadRow - 10), body));
  EXPECT_TRUE(Near(Pixel(face, 320 + 20, kHeadRow - 10), Rgb3(kBlack)));
  EXPECT_TRUE(Near(Pixel(face, 320 + 20, kHeadRow + 25), Rgb3(kBlack)));
  // It ends with the head's outline: below the chin the body shows again.
  EXPECT_TRUE(Near(Pixel(face, 320 + 20, kHeadRow + kHeadHalf + 8), body));

  // A black hat picture adds nothing: above the head the sky is the same as
  // beside the hat square in that row (the sky only changes from row to row).
  EXPECT_EQ(Pixel(a, 320, kAboveHeadRow), Pixel(a, 200, kAboveHeadRow));
  EXPECT_EQ(Pixel(a, 320 + 20, kAboveHeadRow), Pixel(a, 200, kAboveHeadRow));
  // A red one adds red over the square, above the head and over its top.
  const auto sky = Pixel(a, 320, kAboveHeadRow);
  EXPECT_TRUE(Near(Pixel(hat, 320, kAboveHeadRow), {255, sky[1], sky[2]}));
  EXPECT_TRUE(Near(Pixel(hat, 320 + 20, kHeadRow - 25), {255, body[1], body[2]}));
  // Captures differing only in the hat differ inside the hat square only:
  // 0.7 wide, from 0.2 to 0.85 above the head's centre.
  int changed = 0, outside = 0;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      if (Pixel(a, x, y) == Pixel(hat, x, y)) continue;
      ++changed;
      if (x < 320 - 36 || x > 320 + 36 || y < kHeadRow - 84 || y > kHeadRow - 18) ++outside;
    }
  EXPECT_GT(changed, 60 * 55);
  EXPECT_EQ(outside, 0);

  // The orange nose starts on the head's middle and points to the viewer's
  // left, 0.15 units out.
  int orange = 0, minX = kWidth, maxX = 0;
  for (int y = kHeadRow - kHeadHalf; y <= kHeadRow + kHeadHalf; ++y)
    for (int x = 320 - 60; x <= 320 + 60; ++x)
      if (Near(Pixel(a, x, y), {255, 128, 0})) {
        ++orange;
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
      }
  EXPECT_GT(orange, 30);
  EXPECT_LE(maxX, 322);
  EXPECT_LE(minX, 310);
  EXPECT_GE(minX, 300);
}

}  // namespace
