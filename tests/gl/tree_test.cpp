// The fir trees on real OpenGL: what Init loads and makes, what Draw leaves
// behind, and where tree 0 appears on the first frame.
#include "scene/tree.hpp"

#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glu.h>

#include <array>
#include <cstdlib>
#include <string>
#include <vector>

#include "scene_capture.hpp"
#include "support/bmp_writer.hpp"
#include "support/fresh_process.hpp"
#include "support/gl_window.hpp"
#include "support/quadric_watch.hpp"
#include "support/temp_data_dir.hpp"

namespace {

constexpr testbmp::Rgb kCrown{20, 160, 40};
constexpr testbmp::Rgb kTrunk{150, 80, 10};
constexpr testbmp::Rgb kSnow{90, 90, 90};
constexpr testbmp::Rgb kWhite{255, 255, 255};
constexpr testbmp::Rgb kBlack{0, 0, 0};

void WriteTreePictures(const TempDataDir& dir) {
  ASSERT_TRUE(testbmp::WriteSolidBmp(dir.Data("Baumoben.bmp"), 16, 16, kCrown));
  ASSERT_TRUE(testbmp::WriteSolidBmp(dir.Data("Baumstamm.bmp"), 16, 16, kTrunk));
}

// Level 0 of a texture as RGB, the texture left bound.
std::array<int, 3> TopLeftTexel(GLuint name) {
  glBindTexture(GL_TEXTURE_2D, name);
  GLint width = 0, height = 0;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
  if (width <= 0 || height <= 0) return {-1, -1, -1};
  std::vector<unsigned char> texels(static_cast<std::size_t>(width) * height * 3);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
  return {texels[0], texels[1], texels[2]};
}

std::array<GLfloat, 16> Modelview() {
  std::array<GLfloat, 16> m{};
  glGetFloatv(GL_MODELVIEW_MATRIX, m.data());
  return m;
}

std::array<int, 3> Pixel(const std::vector<std::uint8_t>& frame, int width, int x, int y) {
  const std::size_t at = (static_cast<std::size_t>(y) * width + x) * 3;
  return {frame[at], frame[at + 1], frame[at + 2]};
}

bool Near(const std::array<int, 3>& pixel, testbmp::Rgb colour, int tolerance = 1) {
  return std::abs(pixel[0] - colour.r) <= tolerance && std::abs(pixel[1] - colour.g) <= tolerance &&
         std::abs(pixel[2] - colour.b) <= tolerance;
}

// Draws one tree at the origin into a cleared 64 x 64 view and counts the
// pixels it covers. Texturing is off, so the tree shows in plain white.
int PixelsCoveredByTree(CTree& tree) {
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(-1.5, 1.5, -0.5, 2.5, -5, 5);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glDisable(GL_TEXTURE_2D);
  glColor3f(1, 1, 1);
  tree.x = tree.y = tree.z = 0.0f;
  tree.Draw();
  std::vector<unsigned char> pixels(64 * 64 * 3);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, 64, 64, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
  int covered = 0;
  for (std::size_t i = 0; i < pixels.size(); i += 3) covered += pixels[i] != 0;
  return covered;
}

TEST(TreeInit, OnlyTheFirstTreeLoadsThePicturesCrownFirst) {
  if (CTree::s_texturesLoaded) {
    EXPECT_EQ(fresh_process::RunThisTestAgain({}), 0);
    return;
  }
  TempDataDir dir;
  WriteTreePictures(dir);
  GlWindow window;
  quadric_watch::Reset();

  CTree trees[2];
  trees[0].Init();
  EXPECT_TRUE(CTree::s_texturesLoaded);
  const GLuint crown = CTree::s_crownTexture.Name();
  const GLuint trunk = CTree::s_trunkTexture.Name();
  ASSERT_NE(crown, 0u);
  ASSERT_NE(trunk, 0u);
  EXPECT_LT(crown, trunk) << "the crown's name is generated first";
  EXPECT_EQ(TopLeftTexel(crown), (std::array<int, 3>{kCrown.r, kCrown.g, kCrown.b}));
  EXPECT_EQ(TopLeftTexel(trunk), (std::array<int, 3>{kTrunk.r, kTrunk.g, kTrunk.b}));

  trees[1].Init();
  EXPECT_EQ(CTree::s_crownTexture.Name(), crown);
  EXPECT_EQ(CTree::s_trunkTexture.Name(), trunk);
  // A load would have generated and bound a new name after the trunk's.
  for (GLuint name = trunk + 1; name <= trunk + 16; ++name)
    EXPECT_EQ(glIsTexture(name), GL_FALSE) << name;

  // One quadric each, with texture coordinates but without normals.
  ASSERT_EQ(quadric_watch::made.size(), 2u);
  EXPECT_NE(quadric_watch::made[0], quadric_watch::made[1]);
  EXPECT_EQ(quadric_watch::withoutNormals, quadric_watch::made);
}

TEST(TreeInit, PlaceTreesMakesTenQuadrics) {
  TempDataDir dir;
  quadric_watch::Reset();
  SceneCapture capture(64, 48);
  ASSERT_TRUE(capture.Ok());
  // The trees' quadrics are the ones without normals, made one after the
  // other; the snowman's two follow.
  const auto& made = quadric_watch::made;
  const auto& trees = quadric_watch::withoutNormals;
  ASSERT_EQ(trees.size(), 10u);
  ASSERT_EQ(made.size(), 12u);
  const std::vector<GLUquadric*> firstTen(made.begin(), made.begin() + 10);
  EXPECT_EQ(trees, firstTen);
  for (std::size_t i = 0; i < made.size(); ++i)
    for (std::size_t j = i + 1; j < made.size(); ++j) EXPECT_NE(made[i], made[j]) << i << " " << j;
}

TEST(TreeDraw, LeavesTheCrownBoundAndTheMatrixAsItWas) {
  if (CTree::s_texturesLoaded) {
    EXPECT_EQ(fresh_process::RunThisTestAgain({}), 0);
    return;
  }
  TempDataDir dir;
  WriteTreePictures(dir);
  GlWindow window;
  CTree tree;
  tree.Init();
  ASSERT_NE(CTree::s_crownTexture.Name(), CTree::s_trunkTexture.Name());
  tree.x = 1.5f;
  tree.y = 0.0f;
  tree.z = -25.0f;

  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glRotatef(30.0f, 0.0f, 1.0f, 0.0f);
  glTranslatef(0.0f, -2.0f, 0.0f);
  const auto before = Modelview();
  GLint depthBefore = 0;
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthBefore);
  glBindTexture(GL_TEXTURE_2D, 0);

  tree.Draw();

  GLint bound = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(static_cast<GLuint>(bound), CTree::s_crownTexture.Name());
  EXPECT_EQ(Modelview(), before);
  GLint depthAfter = 0;
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthAfter);
  EXPECT_EQ(depthAfter, depthBefore);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(TreeDraw, WithoutAQuadricDrawsNothingAndKeepsTheState) {
  TempDataDir dir;
  GlWindow window;
  quadric_watch::Reset();
  CTree withQuadric;
  withQuadric.Init();
  quadric_watch::failuresLeft = 1;
  CTree withoutQuadric;
  withoutQuadric.Init();  // GLU is out of memory: no quadric
  ASSERT_EQ(quadric_watch::made.size(), 1u);
  EXPECT_EQ(quadric_watch::withoutNormals.size(), 1u) << "nothing is set on a missing quadric";

  EXPECT_GT(PixelsCoveredByTree(withQuadric), 100);
  const auto before = Modelview();
  EXPECT_EQ(PixelsCoveredByTree(withoutQuadric), 0);
  EXPECT_EQ(Modelview(), before);
  GLint bound = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(static_cast<GLuint>(bound), CTree::s_crownTexture.Name());
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// Ground angle 0, bob 0: tree 0 at (0, 0, -5) stands straight ahead, its foot
// 2 units below the eye and its crown tip 0.25 above it. With a 45-degree
// view of 480 rows that puts the tip at row 240 - 0.25 / 5 * 240 / tan(22.5)
// = 211 and the foot at row 472.
TEST(TreeFrame, TreeZeroStandsStraightAheadOnTheFirstFrame) {
  if (CTree::s_texturesLoaded) {
    EXPECT_EQ(fresh_process::RunThisTestAgain({}), 0);
    return;
  }
  TempDataDir dir;
  WriteTreePictures(dir);
  ASSERT_TRUE(testbmp::WriteSolidBmp(dir.Data("snow.bmp"), 16, 16, kSnow));
  ASSERT_TRUE(testbmp::WriteSolidBmp(dir.Data("santa.bmp"), 8, 8, kWhite));      // multiplies
  ASSERT_TRUE(testbmp::WriteSolidBmp(dir.Data("greetings.bmp"), 8, 8, kBlack));  // adds
  ASSERT_TRUE(testbmp::WriteSolidBmp(dir.Data("snowFlake.bmp"), 8, 8, kBlack));  // adds
  SceneCapture capture(640, 480);
  ASSERT_TRUE(capture.Ok());
  capture.Run({16.0}, true);
  const auto& frame = capture.LastFrame();
  ASSERT_EQ(frame.size(), 640u * 480u * 3u);
  auto at = [&](int x, int y) { return Pixel(frame, 640, x, y); };

  // The crown's top in the centre column.
  int tip = -1;
  for (int y = 150; y < 300 && tip < 0; ++y)
    if (Near(at(320, y), kCrown)) tip = y;
  EXPECT_GE(tip, 209);
  EXPECT_LE(tip, 213);
  EXPECT_FALSE(Near(at(320, 205), kCrown));
  EXPECT_TRUE(Near(at(320, 300), kCrown));
  EXPECT_TRUE(Near(at(320, 420), kCrown));
  // The trunk below the crown's front edge, the snow below the foot.
  EXPECT_TRUE(Near(at(320, 460), kTrunk)) << at(320, 460)[0];
  EXPECT_TRUE(Near(at(320, 479), kSnow));

  // Straight ahead: the crown reaches as far left of the centre as right.
  for (int y : {260, 330, 400}) {
    int left = 320, right = 320;
    while (left > 0 && Near(at(left - 1, y), kCrown)) --left;
    while (right < 639 && Near(at(right + 1, y), kCrown)) ++right;
    EXPECT_NEAR(320 - left, right - 319, 2) << "row " << y;
    EXPECT_GT(right - left, 20) << "row " << y;
  }
}

}  // namespace
