#include "platform/x11/desktop_layout.hpp"

#include <gtest/gtest.h>

namespace {
using platform::x11::CrtcPlace;
using platform::x11::DesktopLayout;
using platform::x11::PlanRestore;
using platform::x11::RandrId;

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
  const auto plan = PlanRestore(kOneMonitor, now, kSwitched);
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
  const auto plan = PlanRestore(kOneMonitor, now, kSwitched);
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
  const auto plan = PlanRestore(before, now, kSwitched);
  ASSERT_EQ(plan.crtcs.size(), 1u);
  EXPECT_EQ(plan.crtcs[0].crtc, 1u);
  EXPECT_FALSE(plan.ChangesScreen(now.screen));
}
}  // namespace
