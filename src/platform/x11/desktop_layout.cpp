#include "platform/x11/desktop_layout.hpp"

#include <algorithm>

namespace platform::x11 {
namespace {
// Millimetres for a screen of `pixels`, at the density the server reports
// now (96 dots per inch when it reports none).
int MillimetresFor(int pixels, int nowPixels, int nowMm) {
  if (nowPixels > 0 && nowMm > 0) return static_cast<int>(static_cast<long>(pixels) * nowMm / nowPixels);
  return static_cast<int>(pixels * 25.4 / 96.0 + 0.5);
}

// `now` at another size, at its density; `now` itself at its own size.
ScreenSize Resized(const ScreenSize& now, int width, int height) {
  if (width == now.width && height == now.height) return now;
  return ScreenSize{width, height, MillimetresFor(width, now.width, now.widthMm),
                    MillimetresFor(height, now.height, now.heightMm)};
}

// The screen holds every CRTC and never shrinks: what the user or the
// desktop set stays.
ScreenSize ScreenFor(const DesktopLayout& now, const std::vector<CrtcPlace>& placed) {
  int width = std::max(now.screen.width, now.minimum.width);
  int height = std::max(now.screen.height, now.minimum.height);
  for (const CrtcPlace& crtc : placed)
    width = std::max(width, crtc.Right()), height = std::max(height, crtc.Bottom());
  return Resized(now.screen, width, height);
}

bool Holds(const ScreenSize& screen, const std::vector<CrtcPlace>& crtcs) {
  return std::all_of(crtcs.begin(), crtcs.end(), [&](const CrtcPlace& crtc) {
    return crtc.Right() <= screen.width && crtc.Bottom() <= screen.height;
  });
}

bool Overlap(const CrtcPlace& a, const CrtcPlace& b) {
  return a.x < b.Right() && b.x < a.Right() && a.y < b.Bottom() && b.y < a.Bottom();
}

int& Along(CrtcPlace& crtc, bool rightwards) { return rightwards ? crtc.x : crtc.y; }

// Moves `crtcs[i]` rightwards (or downwards) to `to`, and whatever it then
// covers just clear of it, the farthest first, so that no two change sides.
void Push(std::vector<CrtcPlace>& crtcs, std::size_t i, bool rightwards, int to) {
  Along(crtcs[i], rightwards) = to;
  std::vector<std::size_t> covered;
  for (std::size_t j = 0; j < crtcs.size(); ++j)
    if (j != i && Overlap(crtcs[j], crtcs[i])) covered.push_back(j);
  std::sort(covered.begin(), covered.end(), [&](std::size_t a, std::size_t b) {
    return Along(crtcs[a], rightwards) > Along(crtcs[b], rightwards);
  });
  const int end = rightwards ? crtcs[i].Right() : crtcs[i].Bottom();
  for (std::size_t j : covered)
    if (Overlap(crtcs[j], crtcs[i])) Push(crtcs, j, rightwards, end);
}

void ToCorner(std::vector<CrtcPlace>& crtcs) {
  int left = crtcs[0].x, top = crtcs[0].y;
  for (const CrtcPlace& crtc : crtcs) left = std::min(left, crtc.x), top = std::min(top, crtc.y);
  for (CrtcPlace& crtc : crtcs) crtc.x -= left, crtc.y -= top;
}
}  // namespace

bool CrtcPlace::Drives(RandrId output) const {
  return std::find(outputs, outputs + outputCount, output) != outputs + outputCount;
}

const CrtcPlace* DesktopLayout::Driving(RandrId output) const {
  for (int i = 0; i < crtcCount; ++i)
    if (crtcs[i].Drives(output)) return &crtcs[i];
  return nullptr;
}

CrtcPlace* DesktopLayout::Driving(RandrId output) {
  return const_cast<CrtcPlace*>(static_cast<const DesktopLayout*>(this)->Driving(output));
}

bool DesktopLayout::Add(const CrtcPlace& place) {
  if (crtcCount == kMaxCrtcs) return false;
  crtcs[crtcCount++] = place;
  return true;
}

bool RestorePlan::ChangesScreen(const ScreenSize& now) const {
  return screen.width != now.width || screen.height != now.height;
}

ScreenSize ScreenForSwitch(const DesktopLayout& now, RandrId output, int width, int height) {
  const CrtcPlace* switched = now.Driving(output);
  const bool fills = now.crtcCount == 1 && switched && switched->x == 0 && switched->y == 0 &&
                     switched->width == now.screen.width && switched->height == now.screen.height;
  const bool allowed = width >= now.minimum.width && height >= now.minimum.height;
  return fills && allowed ? Resized(now.screen, width, height) : now.screen;
}

RestorePlan PlanRestore(const DesktopLayout& before, const DesktopLayout& now,
                        RandrId switchedOutput, const ScreenSize& switchedScreen) {
  RestorePlan plan;
  const CrtcPlace* switchedNow = now.Driving(switchedOutput);
  const CrtcPlace* switchedBefore = before.Driving(switchedOutput);
  if (!switchedNow || !switchedBefore) {
    plan.outputGone = true;
    return plan;
  }
  CrtcPlace restored = *switchedNow;
  restored.mode = switchedBefore->mode;
  restored.rotation = switchedBefore->rotation;
  restored.width = switchedBefore->width;
  restored.height = switchedBefore->height;
  // What it grows over is pushed out of its way: rightwards what lies
  // beyond its present right edge, else downwards; the farthest first.
  std::vector<std::size_t> inTheWay;
  for (int i = 0; i < now.crtcCount; ++i) {
    const bool switched = now.crtcs[i].crtc == switchedNow->crtc;
    plan.crtcs.push_back(switched ? restored : now.crtcs[i]);
    if (!switched && Overlap(now.crtcs[i], restored)) inTheWay.push_back(plan.crtcs.size() - 1);
  }
  std::sort(inTheWay.begin(), inTheWay.end(), [&](std::size_t a, std::size_t b) {
    return plan.crtcs[a].x + plan.crtcs[a].y > plan.crtcs[b].x + plan.crtcs[b].y;
  });
  for (std::size_t i : inTheWay) {
    const bool rightwards = plan.crtcs[i].x >= switchedNow->Right();
    const int to = rightwards ? restored.Right() : restored.Bottom();
    if (Along(plan.crtcs[i], rightwards) < to) Push(plan.crtcs, i, rightwards, to);
  }
  ToCorner(plan.crtcs);
  plan.screen = ScreenFor(now, plan.crtcs);
  // Untouched since the switch: the recorded screen, its density as it was
  // rather than one rounded twice.
  if (now.screen == switchedScreen && Holds(before.screen, plan.crtcs)) plan.screen = before.screen;
  // A maximum of 0 is one the server did not tell.
  plan.fits = (now.maximum.width <= 0 || plan.screen.width <= now.maximum.width) &&
              (now.maximum.height <= 0 || plan.screen.height <= now.maximum.height);
  return plan;
}

}  // namespace platform::x11
