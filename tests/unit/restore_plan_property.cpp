// The restore planner against random desktops: a recorded layout, the
// 640x480 switch of one output, then random changes a user makes during the
// scene (outputs moved, added, turned off, the screen resized, the density
// set). Each plan is checked for what the user sees afterwards, not for how
// it was worked out. Beside it, the windows the window manager moved during
// the scene, put back.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "platform/x11/desktop_layout.hpp"
#include "platform/x11/window_places.hpp"

namespace {
using platform::x11::CrtcPlace;
using platform::x11::DesktopLayout;
using platform::x11::RandrId;
using platform::x11::RestorePlan;

struct Size {
  int width, height;
};
// Mode n + 1 is kModes[n]; the scene's mode is the first.
constexpr Size kModes[] = {{640, 480}, {800, 600}, {1024, 768}, {1280, 1024}, {1920, 1080}};
constexpr RandrId kSceneMode = 1;
constexpr std::uint16_t kNormal = 1, kLeft = 2;  // RandR's RR_Rotate_0 and RR_Rotate_90

bool Overlap(const CrtcPlace& a, const CrtcPlace& b) {
  return a.x < b.Right() && b.x < a.Right() && a.y < b.Bottom() && b.y < a.Bottom();
}

CrtcPlace Output(RandrId id, RandrId mode, std::uint16_t rotation) {
  CrtcPlace crtc;
  crtc.crtc = 100 + id;
  crtc.mode = mode;
  crtc.rotation = rotation;
  const Size size = kModes[mode - 1];
  crtc.width = rotation == kLeft ? size.height : size.width;
  crtc.height = rotation == kLeft ? size.width : size.height;
  crtc.outputCount = 1;
  crtc.outputs[0] = id;
  return crtc;
}

std::vector<CrtcPlace> Crtcs(const DesktopLayout& layout) {
  return {layout.crtcs, layout.crtcs + layout.crtcCount};
}

void SetCrtcs(DesktopLayout& layout, const std::vector<CrtcPlace>& crtcs) {
  layout.crtcCount = 0;
  for (const CrtcPlace& crtc : crtcs) layout.Add(crtc);
}

// As xrandr leaves a layout: the outputs moved together so that the top
// and left edges are taken, the screen grown to hold them all.
void Settle(DesktopLayout& layout) {
  std::vector<CrtcPlace> crtcs = Crtcs(layout);
  int left = crtcs[0].x, top = crtcs[0].y;
  for (const CrtcPlace& crtc : crtcs) left = std::min(left, crtc.x), top = std::min(top, crtc.y);
  for (CrtcPlace& crtc : crtcs) {
    crtc.x -= left;
    crtc.y -= top;
    layout.screen.width = std::max(layout.screen.width, crtc.Right());
    layout.screen.height = std::max(layout.screen.height, crtc.Bottom());
  }
  SetCrtcs(layout, crtcs);
}

std::string Describe(const DesktopLayout& layout) {
  std::ostringstream text;
  text << layout.screen.width << "x" << layout.screen.height << " (" << layout.screen.widthMm << "x"
       << layout.screen.heightMm << " mm, limit " << layout.maximum.width << "x"
       << layout.maximum.height << "):";
  for (const CrtcPlace& c : Crtcs(layout))
    text << " [out " << c.outputs[0] << " mode " << c.mode << " rot " << c.rotation << " " << c.width
         << "x" << c.height << "+" << c.x << "+" << c.y << "]";
  return text.str();
}

struct Case {
  DesktopLayout before, now;
  RandrId switched = 0;
  platform::x11::ScreenSize switchedScreen;  // as the switch left the screen
  std::vector<RandrId> placedByUser;  // outputs the user moved or added
  bool changed = false;               // anything done during the scene
};

class CaseMaker {
 public:
  explicit CaseMaker(unsigned seed) : m_random(seed) {}

  Case Make() {
    Case made;
    do {
      made.before = Desktop();
      made.switched = made.before.crtcs[Pick(made.before.crtcCount)].outputs[0];
      made.now = made.before;
      *made.now.Driving(made.switched) = Reshaped(*made.now.Driving(made.switched));
      made.switchedScreen = platform::x11::ScreenForSwitch(made.before, made.switched,
                                                           kModes[0].width, kModes[0].height);
      made.now.screen = made.switchedScreen;
    } while (!Switchable(made.now, made.switched));
    const int changes = Pick(4);
    for (int i = 0; i < changes; ++i) Change(made);
    made.now.maximum = Limit(made.now);
    return made;
  }

 private:
  int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(m_random); }

  // The server takes the switch: the scene's mode within the screen, on
  // no other output.
  static bool Switchable(const DesktopLayout& now, RandrId output) {
    const CrtcPlace& scene = *now.Driving(output);
    for (const CrtcPlace& other : Crtcs(now))
      if (other.crtc != scene.crtc && Overlap(other, scene)) return false;
    return scene.Right() <= now.screen.width && scene.Bottom() <= now.screen.height;
  }

  // The switch: the scene's mode, unrotated, where the output was.
  static CrtcPlace Reshaped(const CrtcPlace& was) {
    CrtcPlace scene = Output(was.outputs[0], kSceneMode, kNormal);
    scene.crtc = was.crtc;
    scene.x = was.x;
    scene.y = was.y;
    return scene;
  }

  CrtcPlace RandomOutput(RandrId id) {
    return Output(id, 1 + Pick(std::size(kModes)), Pick(4) == 0 ? kLeft : kNormal);
  }

  // Up to four outputs, each against a side of one placed before.
  DesktopLayout Desktop() {
    DesktopLayout layout;
    layout.minimum = {320, 200};
    layout.screen.widthMm = 0;
    const int count = 1 + Pick(4);
    layout.Add(RandomOutput(1));
    for (int id = 2; id <= count; ++id) PlaceBeside(layout, RandomOutput(id));
    Settle(layout);
    layout.screen.widthMm = layout.screen.width * 254 / (10 * (72 + Pick(150)));
    layout.screen.heightMm = layout.screen.height * layout.screen.widthMm / layout.screen.width;
    return layout;
  }

  // Puts `crtc` against a side of a random output of `layout`, as xrandr's
  // --right-of, --left-of, --below and --above do, aligned on that
  // output's edge or offset; false (nothing done) where it would overlap.
  bool PlaceBeside(DesktopLayout& layout, CrtcPlace crtc) {
    for (int attempt = 0; attempt < 8; ++attempt) {
      const CrtcPlace& next = layout.crtcs[Pick(layout.crtcCount)];
      if (next.crtc == crtc.crtc) continue;
      const int offset = Pick(3) == 0 ? 40 * Pick(8) : 0;
      switch (Pick(4)) {
        case 0: crtc.x = next.Right(), crtc.y = next.y + offset; break;
        case 1: crtc.x = next.x - crtc.width, crtc.y = next.y + offset; break;
        case 2: crtc.x = next.x + offset, crtc.y = next.Bottom(); break;
        default: crtc.x = next.x + offset, crtc.y = next.y - crtc.height; break;
      }
      std::vector<CrtcPlace> others;
      for (const CrtcPlace& other : Crtcs(layout))
        if (other.crtc != crtc.crtc) others.push_back(other);
      if (std::any_of(others.begin(), others.end(), [&](const CrtcPlace& o) { return Overlap(o, crtc); }))
        continue;
      others.push_back(crtc);
      SetCrtcs(layout, others);
      return true;
    }
    return false;
  }

  void Change(Case& made) {
    DesktopLayout& now = made.now;
    const CrtcPlace picked = now.crtcs[Pick(now.crtcCount)];
    const RandrId output = picked.outputs[0];
    switch (Pick(4)) {
      case 0:  // moved (the switched output too)
        if (now.crtcCount > 1 && PlaceBeside(now, picked)) Placed(made, output);
        break;
      case 1:  // a monitor turned on
        if (now.crtcCount < 6 && PlaceBeside(now, RandomOutput(++m_lastNew))) Placed(made, m_lastNew);
        break;
      case 2:  // one turned off, never the switched one
        if (output != made.switched) {
          std::vector<CrtcPlace> kept;
          for (const CrtcPlace& crtc : Crtcs(now))
            if (crtc.outputs[0] != output) kept.push_back(crtc);
          SetCrtcs(now, kept);
          Forget(made, output);
        }
        break;
      default:  // the screen resized (xrandr --fb) and a density set (--dpi)
        now.screen.width = std::max(now.screen.width + 160 * (Pick(5) - 2), 320);
        now.screen.height = std::max(now.screen.height + 120 * (Pick(5) - 2), 200);
        now.screen.widthMm = now.screen.width * 254 / (10 * (72 + Pick(150)));
        now.screen.heightMm = now.screen.height * now.screen.widthMm / now.screen.width;
        made.changed = true;
        break;
    }
    Settle(now);
  }

  void Forget(Case& made, RandrId output) {
    made.changed = true;
    made.placedByUser.erase(std::remove(made.placedByUser.begin(), made.placedByUser.end(), output),
                            made.placedByUser.end());
  }
  void Placed(Case& made, RandrId output) {
    Forget(made, output);
    made.placedByUser.push_back(output);
  }

  // Mostly room to spare; now and then just the screen of now, or less.
  platform::x11::ScreenSize Limit(const DesktopLayout& now) {
    if (Pick(4)) return {8192, 8192};
    return {now.screen.width + 320 * Pick(3), now.screen.height + 240 * Pick(3)};
  }

  std::mt19937 m_random;
  RandrId m_lastNew = 10;  // outputs turned on during the scene count up from here
};

const CrtcPlace* Planned(const RestorePlan& plan, RandrId output) {
  for (const CrtcPlace& crtc : plan.crtcs)
    if (crtc.Drives(output)) return &crtc;
  return nullptr;
}

// Which side of `b` the output `a` lies on, as four flags.
struct Sides {
  bool left, right, above, below;
  // None of the sides of `was` turned over, and one of them still holds.
  bool Keeps(const Sides& was) const {
    const bool turned = (was.left && right) || (was.right && left) || (was.above && below) ||
                        (was.below && above);
    return !turned && ((was.left && left) || (was.right && right) || (was.above && above) ||
                       (was.below && below));
  }
};
Sides SidesOf(const CrtcPlace& a, const CrtcPlace& b) {
  return {a.Right() <= b.x, a.x >= b.Right(), a.Bottom() <= b.y, a.y >= b.Bottom()};
}

// Where `a` lies against the right or bottom edge of `b` (a stretch of
// their borders shared): its offset along the edge, or -1.
int RightEdgeOffset(const CrtcPlace& a, const CrtcPlace& b) {
  return a.x == b.Right() && a.y < b.Bottom() && b.y < a.Bottom() ? a.y - b.y : -1;
}
int BottomEdgeOffset(const CrtcPlace& a, const CrtcPlace& b) {
  return a.y == b.Bottom() && a.x < b.Right() && b.x < a.Right() ? a.x - b.x : -1;
}

// Empty when the plan keeps every promise; else the first one broken.
std::string BrokenPromise(const Case& made, const RestorePlan& plan) {
  const DesktopLayout& now = made.now;
  if (plan.outputGone) return "the switched output is taken for gone";
  if (!plan.fits)
    return plan.screen.width > now.maximum.width || plan.screen.height > now.maximum.height
               ? ""
               : "a plan within the limits is refused";
  if (static_cast<int>(plan.crtcs.size()) != now.crtcCount) return "outputs turned on or off";
  for (const CrtcPlace& crtc : Crtcs(now))
    if (!Planned(plan, crtc.outputs[0])) return "an output in use is missing";
  int left = plan.crtcs[0].x, top = plan.crtcs[0].y;
  for (const CrtcPlace& a : plan.crtcs) {
    left = std::min(left, a.x), top = std::min(top, a.y);
    if (a.Right() > plan.screen.width || a.Bottom() > plan.screen.height)
      return "an output beyond the screen";
    for (const CrtcPlace& b : plan.crtcs)
      if (&a != &b && Overlap(a, b)) return "two outputs overlap";
  }
  if (left != 0 || top != 0) return "a gap along the left or top edge";
  if (plan.screen.width > now.maximum.width || plan.screen.height > now.maximum.height ||
      plan.screen.width < now.minimum.width || plan.screen.height < now.minimum.height)
    return "the screen is outside the server's limits";
  const CrtcPlace& then = *made.before.Driving(made.switched);
  const CrtcPlace& switched = *Planned(plan, made.switched);
  if (switched.mode != then.mode || switched.rotation != then.rotation ||
      switched.width != then.width || switched.height != then.height)
    return "the switched output is not back at its mode";
  // A screen nobody touched since the switch resized it keeps the density
  // recorded before; else the one of now is the user's.
  const auto& users = now.screen == made.switchedScreen ? made.before.screen : now.screen;
  const long densityNow = 1000L * users.widthMm / users.width;
  const long density = 1000L * plan.screen.widthMm / plan.screen.width;
  if (users.widthMm > 0 && std::abs(density - densityNow) > 1000L / plan.screen.width + 1)
    return "the density is not the user's";
  const CrtcPlace& switchedNow = *now.Driving(made.switched);
  for (RandrId output : made.placedByUser) {
    const CrtcPlace& placed = *Planned(plan, output);
    const CrtcPlace& put = *now.Driving(output);
    for (const CrtcPlace& other : Crtcs(now))
      if (!other.Drives(output) && !SidesOf(placed, *Planned(plan, other.outputs[0])).Keeps(SidesOf(put, other)))
        return "an output the user placed is on another side of its neighbour";
    // Against an edge of the switched output that moves out as it grows
    // back, it stays there (one that moves in leaves a gap).
    if (output == made.switched) continue;
    const int against = RightEdgeOffset(put, switchedNow), under = BottomEdgeOffset(put, switchedNow);
    if ((switched.width >= switchedNow.width && against >= 0 &&
         RightEdgeOffset(placed, switched) != against) ||
        (switched.height >= switchedNow.height && under >= 0 && BottomEdgeOffset(placed, switched) != under))
      return "an output the user put against the switched one is not against it";
  }
  if (made.changed) return "";
  // Nothing done during the scene: the desktop exactly as recorded.
  for (const CrtcPlace& crtc : Crtcs(made.before)) {
    const CrtcPlace& back = *Planned(plan, crtc.outputs[0]);
    if (back.x != crtc.x || back.y != crtc.y || back.mode != crtc.mode) return "not the recorded desktop";
  }
  if (plan.screen.width != made.before.screen.width || plan.screen.height != made.before.screen.height ||
      plan.screen.widthMm != made.before.screen.widthMm)
    return "not the recorded screen";
  return "";
}

TEST(RestorePlanProperty, RandomDesktopsAndUserChanges) {
  CaseMaker maker(20261210);
  int refused = 0, changed = 0;
  for (int i = 0; i < 5000; ++i) {
    const Case made = maker.Make();
    // A lone output fills its screen (Settle), which the switch shrinks to
    // the mode; beside others the screen stays.
    const bool alone = made.before.crtcCount == 1;
    ASSERT_EQ(made.switchedScreen.width, alone ? 640 : made.before.screen.width) << "case " << i;
    ASSERT_EQ(made.switchedScreen.height, alone ? 480 : made.before.screen.height) << "case " << i;
    const RestorePlan plan =
        platform::x11::PlanRestore(made.before, made.now, made.switched, made.switchedScreen);
    const std::string broken = BrokenPromise(made, plan);
    refused += !plan.fits;
    changed += made.changed;
    DesktopLayout planned = made.now;
    SetCrtcs(planned, plan.crtcs);
    planned.screen = plan.screen;
    ASSERT_EQ(broken, "") << "case " << i << ", output " << made.switched << " switched\n before: "
                          << Describe(made.before) << "\n now:    " << Describe(made.now)
                          << "\n plan:   " << Describe(planned);
  }
  // The cases reach both kinds of plan, with and without the user's changes.
  EXPECT_GT(refused, 50);
  EXPECT_GT(changed, 2000);
  EXPECT_LT(changed, 4900);
}

TEST(RestorePlanProperty, SwitchedOutputOffIsLeftAlone) {
  DesktopLayout before;
  before.screen = {1280, 1024, 338, 270};
  before.Add(Output(1, 4, kNormal));
  DesktopLayout now = before;
  now.crtcCount = 0;
  const RestorePlan plan = platform::x11::PlanRestore(before, now, 1, before.screen);
  EXPECT_TRUE(plan.outputGone);
}

platform::x11::WindowPlaces Places(std::initializer_list<platform::x11::WindowPlace> list) {
  platform::x11::WindowPlaces places;
  for (const auto& place : list) places.Add(place);
  return places;
}

// Recorded before the switch: 1 at +700+500, 2 at +10+10, 3 at +900+0.
// During the scene the manager pushed 1 and 3 into the 640x480 corner, 2
// stayed, 3 closed, 4 opened.
TEST(WindowMovesAfterScene, MovedOnesGoBackTheRestStay) {
  const auto recorded = Places({{1, 700, 500}, {2, 10, 10}, {3, 900, 0}});
  const auto now = Places({{4, 100, 100}, {2, 10, 10}, {1, 601, 478}});
  const auto moves = platform::x11::PlanWindowMoves(recorded, now);
  ASSERT_EQ(moves.size(), 1u);
  EXPECT_EQ(moves[0].window, 1u);
  EXPECT_EQ(moves[0].x, 700);
  EXPECT_EQ(moves[0].y, 500);
}

TEST(WindowMovesAfterScene, OneMovedInOneDirectionOnly) {
  const auto moves = platform::x11::PlanWindowMoves(Places({{5, 0, 700}}), Places({{5, 0, 200}}));
  ASSERT_EQ(moves.size(), 1u);
  EXPECT_EQ(moves[0].y, 700);
}
}  // namespace
