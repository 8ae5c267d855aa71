// The window object on a real (off-screen) system window: creation order,
// message maps with decoded arguments, default handling, message boxes
// (recorded, not shown), the area a letterboxed window draws its 640 x 480
// design into, the policy each desktop gets, where the outputs go when a
// switched desktop is given back, and a sound device closed by Shutdown.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "framework/afxwin.hpp"
#include "platform/audio.hpp"
#include "platform/sdl/desktop_policy.hpp"
#include "platform/surface/letterbox.hpp"
#include "platform/x11/desktop_layout.hpp"
#include "platform/platform.hpp"
#include "support/recorded_boxes.hpp"
#include "support/temp_data_dir.hpp"

namespace {

class TraceWnd : public CWnd {
 public:
  std::vector<std::string> trace;
  int createResult = 0;
  bool hadWindowInPreCreate = true;

  BOOL PreCreateWindow(CREATESTRUCT& cs) override {
    hadWindowInPreCreate = m_hWnd != nullptr;
    trace.push_back(std::string("precreate ") + cs.lpszName);
    return CWnd::PreCreateWindow(cs);
  }
  using CWnd::SendMessage;

 protected:
  int OnCreate(CREATESTRUCT* cs) {
    trace.push_back("create " + std::to_string(cs->cx) + "x" + std::to_string(cs->cy));
    if (CWnd::OnCreate(cs) == -1) return -1;
    return createResult;
  }
  void OnSize(UINT type, int cx, int cy) {
    trace.push_back("size " + std::to_string(type) + " " + std::to_string(cx) + "x" +
                    std::to_string(cy));
  }
  void OnDestroy() {
    trace.push_back(m_hWnd ? "destroy" : "destroy without window");
    CWnd::OnDestroy();
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TraceWnd, CWnd)
  ON_WM_CREATE()
  ON_WM_SIZE()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override { platform::Init(); }
  void TearDown() override { AfxClearMessageQueue(); }
  BOOL Create(TraceWnd& window) {
    const char* cls = AfxRegisterWndClass(CS_OWNDC, nullptr, GetStockObject(BLACK_BRUSH));
    return window.CreateEx(0, cls, "OpenGL", WS_POPUP, CRect(0, 0, 640, 480), nullptr, 0);
  }
};

TEST_F(WindowTest, CreationRunsPreCreateThenCreateThenTheFirstSize) {
  TraceWnd window;
  ASSERT_TRUE(Create(window));
  EXPECT_FALSE(window.hadWindowInPreCreate);
  EXPECT_NE(window.m_hWnd, nullptr);
  EXPECT_EQ(window.trace,
            (std::vector<std::string>{"precreate OpenGL", "create 640x480", "size 0 640x480"}));
  EXPECT_EQ(CWnd::FromHandlePermanent(window.m_hWnd), &window);
}

TEST_F(WindowTest, CreateReturningMinusOneFailsCreationAndDestroys) {
  TraceWnd window;
  window.createResult = -1;
  EXPECT_FALSE(Create(window));
  EXPECT_EQ(window.m_hWnd, nullptr);
  EXPECT_EQ(window.trace,
            (std::vector<std::string>{"precreate OpenGL", "create 640x480", "destroy"}));
}

TEST_F(WindowTest, CloseDestroysTheWindowThroughDefaultHandling) {
  TraceWnd window;
  ASSERT_TRUE(Create(window));
  HWND handle = window.m_hWnd;
  window.PostMessage(WM_CLOSE);
  window.PostMessage(WM_CLOSE);  // a second close finds no window and does nothing
  MSG msg;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&msg);
  EXPECT_EQ(window.m_hWnd, nullptr);
  EXPECT_EQ(CWnd::FromHandlePermanent(handle), nullptr);
  EXPECT_EQ(window.trace.back(), "destroy");
  EXPECT_EQ(std::count(window.trace.begin(), window.trace.end(), "destroy"), 1);
}

TEST_F(WindowTest, SizeMessagesReachTheHandlerDecoded) {
  TraceWnd window;
  window.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(1280, 0));
  EXPECT_EQ(window.trace.back(), "size 0 1280x0");
}

TEST_F(WindowTest, MessageBoxWithoutCaptionShowsTheApplicationTitle) {
  CWinApp app;  // no name: the title comes from the string resource
  ASSERT_STREQ(app.m_pszAppName, "Winterhain");
  TraceWnd window;
  ASSERT_TRUE(Create(window));
  RecordedBoxes boxes;
  EXPECT_EQ(window.MessageBox("Fehler!"), IDOK);
  EXPECT_EQ(window.MessageBox("Frohe Weihnachten", "Gruss"), IDOK);
  EXPECT_EQ(boxes.Lines(),
            (std::vector<std::string>{"Winterhain: Fehler!", "Gruss: Frohe Weihnachten"}));
  ASSERT_EQ(boxes.boxes.size(), 2u);
  EXPECT_EQ(boxes.boxes[0].owner, window.m_hWnd);
  EXPECT_NE(boxes.boxes[0].owner, nullptr);
}

// The test entry refuses boxes no test records: such a box would have gone
// to whatever display the host has.
TEST_F(WindowTest, AnUnrecordedBoxFailsTheTestInsteadOfShowing) {
  EXPECT_NONFATAL_FAILURE(CWnd().MessageBox("Fehler!", "Winterhain"),
                          "a message box reached the platform: \"Winterhain: Fehler!\"");
}

// Worked out by hand: the widest 4:3 area that fits, centred, with the
// bars' odd pixel (if any) above or right of it; y counts from the bottom.
TEST(DesignAreaTest, IsTheLargestCentredFourByThreeArea) {
  using platform::surface::Area;
  using platform::surface::DesignArea;
  EXPECT_EQ(DesignArea(1920, 1080), (Area{240, 0, 1440, 1080}));  // 16:9, bars left and right
  EXPECT_EQ(DesignArea(1280, 1024), (Area{0, 32, 1280, 960}));    // 5:4, bars above and below
  EXPECT_EQ(DesignArea(640, 480), (Area{0, 0, 640, 480}));        // the design itself
  EXPECT_EQ(DesignArea(1366, 768), (Area{171, 0, 1024, 768}));    // odd bar width
  EXPECT_EQ(DesignArea(1080, 1920), (Area{0, 555, 1080, 810}));   // portrait
  EXPECT_EQ(DesignArea(1, 1), (Area{0, 0, 1, 1}));                // never empty
  EXPECT_EQ(DesignArea(0, 1080), Area{});                         // no drawable yet
}

// One row for each desktop of the README's table, and the roles beside it:
// what the user gets there, written out as the policy's fields.
TEST(DesktopPolicyTest, EachDesktopGetsWhatTheReadmeSays) {
  using namespace platform;
  using F = Fullscreen;
  using E = EscapeSource;
  using B = BoxTrust;
  struct Row {
    const char* desktop;
    Host host;
    Role role;
    bool switches, letterboxes;
    F fullscreen;
    E escape;
    B boxes;
    bool paces, atCreation, whenShown;
    bool native = false;   // SDL started on its wayland driver before X11
    bool onFocus = false;  // the window made on the focused output's display
  };
  const Host xorg{.x = true, .xRandr = true, .videoDriver = "x11"};
  const Host xwayland{.x = true, .xRandr = true, .xwayland = true,
                      .wayland = Compositor::WithSeat, .videoDriver = "x11"};
  const Host wayland{.wayland = Compositor::WithSeat, .videoDriver = "wayland"};
  // A desktop with an output at scale 2, as found before SDL starts and
  // then with the driver SDL started; weston's headless one has no seat.
  Host scaled = xwayland;
  scaled.waylandScaled = true;
  scaled.videoDriver = "";
  Host scaledNative = scaled;
  scaledNative.videoDriver = "wayland";
  Host scaledSeatless = scaled;
  scaledSeatless.wayland = Compositor::Seatless;
  scaledSeatless.videoDriver = "x11";
  const Row rows[] = {
      {"X11 (Xorg)", xorg, Role::Program, true, false, F::CoverSwitchedOutput, E::XServer,
       B::Confirmed, false, false, false},
      {"Wayland through Xwayland", xwayland, Role::Program, false, true, F::Desktop, E::XServer,
       B::Confirmed, false, false, true},
      {"Wayland natively", wayland, Role::Program, false, true, F::Desktop, E::Window,
       B::ShownUnconfirmed, false, true, false, false, true},
      {"Wayland scaled, before SDL starts", scaled, Role::Program, false, false, F::Windowed,
       E::Window, B::NotShown, false, false, false, true},
      {"Wayland scaled, natively", scaledNative, Role::Program, false, true, F::Desktop,
       E::Window, B::ShownUnconfirmed, false, true, false, true, true},
      {"Wayland scaled, no seat: Xwayland", scaledSeatless, Role::Program, false, true,
       F::Desktop, E::XServer, B::Confirmed, false, false, true},
      {"a screensaver's window", xorg, Role::SaverInHandedWindow, false, true, F::HandedOver,
       E::Nowhere, B::NotShown, true, false, false},
      {"the screensaver tried out", xwayland, Role::SaverInOwnWindow, false, true, F::Resizable,
       E::Window, B::NotShown, true, false, false},
      {"the screensaver tried out, scaled", scaled, Role::SaverInOwnWindow, false, true,
       F::Resizable, E::Window, B::NotShown, true, false, false},
      {"a tool on Xorg", xorg, Role::Tool, false, false, F::CoverSwitchedOutput, E::XServer,
       B::Confirmed, false, false, false},
      {"off screen", Host{.videoDriver = "offscreen"}, Role::Tool, false, false, F::Windowed,
       E::Window, B::NotShown, false, false, false},
  };
  for (const Row& row : rows) {
    const DesktopPolicy policy = DecidePolicy(row.host, row.role);
    EXPECT_EQ(policy.switchesMode, row.switches) << row.desktop;
    EXPECT_EQ(policy.letterboxes, row.letterboxes) << row.desktop;
    EXPECT_EQ(policy.fullscreen, row.fullscreen) << row.desktop;
    EXPECT_EQ(policy.escape, row.escape) << row.desktop;
    EXPECT_EQ(policy.boxes, row.boxes) << row.desktop;
    EXPECT_EQ(policy.pacesToRefresh, row.paces) << row.desktop;
    EXPECT_EQ(policy.endsWithOutput, row.paces) << row.desktop;  // both only for the saver
    EXPECT_EQ(policy.quirks.fullscreenAtCreation, row.atCreation) << row.desktop;
    EXPECT_EQ(policy.quirks.fullscreenWhenShown, row.whenShown) << row.desktop;
    EXPECT_EQ(policy.prefersNativeWayland, row.native) << row.desktop;
    EXPECT_EQ(policy.quirks.sdlWaylandFullscreensOnItsDisplay, row.onFocus) << row.desktop;
  }
}

// Sound left open at Shutdown (a start that failed after the music began)
// is closed with it, so the next start opens the device again. SDL's disk
// driver makes its file as the device opens: a second file shows a second
// opening, not the first device still in use.
TEST(PlatformLifetimeTest, ShutdownClosesTheSoundDeviceToo) {
  TempDataDir dir;
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", dir.Data("first.raw").c_str(), 1);
  ASSERT_TRUE(platform::OpenSound(44100, 1));
  platform::Shutdown();
  setenv("SDL_DISKAUDIOFILE", dir.Data("second.raw").c_str(), 1);
  EXPECT_TRUE(platform::OpenSound(44100, 1));
  EXPECT_TRUE(std::filesystem::exists(dir.Data("second.raw")));
  platform::CloseSound();
  unsetenv("SDL_DISKAUDIOFILE");
  setenv("SDL_AUDIODRIVER", "dummy", 1);
}

using platform::x11::CrtcPlace;
using platform::x11::DesktopLayout;
using platform::x11::PlanRestore;
using platform::x11::RandrId;

// Restore plans for layouts the dummy X driver cannot make: several
// monitors placed around the switched one during the scene.

// Output 10 is the switched one; mode 1 is 1280x1024, mode 2 640x480.
constexpr RandrId kSwitched = 10;

CrtcPlace Crtc(RandrId crtc, RandrId output, RandrId mode, int x, int y) {
  CrtcPlace place;
  place.crtc = crtc;
  place.mode = mode;
  place.x = x;
  place.y = y;
  place.width = mode == 1 ? 1280 : 640;
  place.height = mode == 1 ? 1024 : 480;
  place.outputCount = 1;
  place.outputs[0] = output;
  return place;
}

DesktopLayout Layout(int width, int height, std::initializer_list<CrtcPlace> crtcs) {
  DesktopLayout layout;
  layout.screen = {width, height, width / 4, height / 4};
  layout.maximum = {32767, 32767};
  for (const CrtcPlace& crtc : crtcs) layout.Add(crtc);
  return layout;
}

const DesktopLayout kOneMonitor = Layout(1280, 1024, {Crtc(1, kSwitched, 1, 0, 0)});

// Two monitors plugged in during the scene, in a row right of the switched
// one at 640 and 1920: both move right by the 640 it grows.
TEST(DesktopLayout, ARowPluggedInRightOfTheSceneMovesAlong) {
  const DesktopLayout now = Layout(3200, 1024, {Crtc(1, kSwitched, 2, 0, 0), Crtc(2, 11, 1, 640, 0),
                                                Crtc(3, 12, 1, 1920, 0)});
  const auto plan = PlanRestore(kOneMonitor, now, kSwitched, kOneMonitor.screen);
  ASSERT_EQ(plan.crtcs.size(), 3u);
  EXPECT_EQ(plan.crtcs[0].mode, 1u);
  EXPECT_EQ(plan.crtcs[1].x, 1280);
  EXPECT_EQ(plan.crtcs[2].x, 2560);
  EXPECT_EQ(plan.screen.width, 3840);
  EXPECT_EQ(plan.screen.height, 1024);
}

// Plugged in below the 480-high scene: it moves down by 544.
TEST(DesktopLayout, OnePluggedInBelowMovesDown) {
  const DesktopLayout now = Layout(1280, 1504, {Crtc(1, kSwitched, 2, 0, 0), Crtc(2, 11, 1, 0, 480)});
  const auto plan = PlanRestore(kOneMonitor, now, kSwitched, kOneMonitor.screen);
  ASSERT_EQ(plan.crtcs.size(), 2u);
  EXPECT_EQ(plan.crtcs[1].x, 0);
  EXPECT_EQ(plan.crtcs[1].y, 1024);
  EXPECT_EQ(plan.screen.height, 2048);
}

// A monitor the user moved clear of the restored area stays where it is,
// and one unchanged since the switch is not touched.
TEST(DesktopLayout, OutputsClearOfTheRestoredAreaStay) {
  const DesktopLayout before =
      Layout(3840, 1024, {Crtc(1, kSwitched, 1, 0, 0), Crtc(2, 11, 1, 1280, 0), Crtc(3, 12, 1, 2560, 0)});
  const DesktopLayout now = Layout(3840, 2048, {Crtc(1, kSwitched, 2, 0, 0), Crtc(2, 11, 1, 1280, 0),
                                                Crtc(3, 12, 1, 2560, 1024)});
  const auto plan = PlanRestore(before, now, kSwitched, before.screen);
  ASSERT_EQ(plan.crtcs.size(), 3u);
  EXPECT_EQ(plan.crtcs[0].mode, 1u);
  EXPECT_EQ(plan.crtcs[1].x, 1280);
  EXPECT_EQ(plan.crtcs[1].y, 0);
  EXPECT_EQ(plan.crtcs[2].x, 2560);
  EXPECT_EQ(plan.crtcs[2].y, 1024);
  EXPECT_FALSE(plan.ChangesScreen(now.screen));
}

}  // namespace
