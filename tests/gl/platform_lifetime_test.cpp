// A second start of the platform layer after Shutdown, with the GL library
// loaded, used and unloaded each time: on the software renderer, since a
// start that draws is what has to work again.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cstdlib>
#include <vector>

#include "platform/platform.hpp"
#include "support/gl_window.hpp"

namespace {

// Clears an off-screen GL window to pure red, green or blue and reads one
// pixel back as {r, g, b}.
std::vector<int> ClearedPixel(int channel) {
  GlWindow window(8, 8);
  EXPECT_TRUE(HasCurrentGLContext());
  glClearColor(channel == 0, channel == 1, channel == 2, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  unsigned char pixel[3] = {};
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(4, 4, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, pixel);
  return {pixel[0], pixel[1], pixel[2]};
}

// Shutdown undoes every set-up, failed ones included: a start that found no
// display, one that drew, and one after that all behave as the first would.
TEST(PlatformLifetimeTest, InitShutdownInitWorksInOneProcess) {
  setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
  EXPECT_FALSE(platform::Init());
  EXPECT_NE(platform::LastError(), "");
  platform::Shutdown();
  EXPECT_EQ(platform::LastError(), "");

  setenv("SDL_VIDEODRIVER", "offscreen", 1);
  ASSERT_TRUE(platform::Init()) << platform::LastError();
  EXPECT_EQ(ClearedPixel(0), (std::vector<int>{255, 0, 0}));
  platform::Shutdown();
  EXPECT_EQ(platform::LastError(), "");

  ASSERT_TRUE(platform::Init()) << platform::LastError();
  EXPECT_EQ(ClearedPixel(1), (std::vector<int>{0, 255, 0}));
  platform::Shutdown();
  ASSERT_TRUE(platform::Init()) << platform::LastError();
  EXPECT_EQ(ClearedPixel(2), (std::vector<int>{0, 0, 255}));
}

// The program's window goes before its context: the context is a member of
// the scene window's object, released when that object is deleted after
// the window was closed. The context is then deleted after its window, and
// the next window draws as the first did.
TEST(PlatformLifetimeTest, AContextDeletedAfterItsWindowLeavesTheNextWindowDrawing) {
  setenv("SDL_VIDEODRIVER", "offscreen", 1);
  ASSERT_TRUE(platform::Init()) << platform::LastError();
  {
    CGLContext context;  // declared first, so released last
    CWnd window;
    const char* cls = AfxRegisterWndClass(CS_OWNDC, nullptr, GetStockObject(BLACK_BRUSH));
    ASSERT_TRUE(window.CreateEx(0, cls, "closed first", WS_POPUP, CRect(0, 0, 8, 8), nullptr, 0));
    CClientDC dc(&window);
    ASSERT_TRUE(context.Create(dc.m_hDC));
    EXPECT_TRUE(HasCurrentGLContext());
    window.DestroyWindow();
  }
  EXPECT_FALSE(HasCurrentGLContext());
  EXPECT_EQ(ClearedPixel(0), (std::vector<int>{255, 0, 0}));
}

}  // namespace
