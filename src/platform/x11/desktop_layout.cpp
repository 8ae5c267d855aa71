#include "platform/x11/desktop_layout.hpp"

#include <algorithm>

namespace platform::x11 {
namespace {
bool Overlap(const CrtcPlace& a, const CrtcPlace& b) {
  return a.x < b.Right() && b.x < a.Right() && a.y < b.Bottom() && b.y < a.Bottom();
}

bool SamePlace(const CrtcPlace& a, const CrtcPlace& b) {
  return a.mode == b.mode && a.x == b.x && a.y == b.y && a.rotation == b.rotation;
}

// True when `crtc` shows what it showed before the scene: the CRTC that
// drove its first output then had the same mode and place.
bool AsBefore(const CrtcPlace& crtc, const DesktopLayout& before) {
  const CrtcPlace* then = crtc.outputCount > 0 ? before.Driving(crtc.outputs[0]) : nullptr;
  return then && SamePlace(*then, crtc);
}

// Moves the outputs that changed during the scene off the switched one's
// restored area: those right of its present right edge by as much as that
// edge moves, those below its present bottom edge likewise. Nearest first,
// so a row of them keeps its order. Returns the ones moved.
std::vector<CrtcPlace> MakeRoom(const DesktopLayout& before, const DesktopLayout& now,
                                const CrtcPlace& switchedNow, const CrtcPlace& restored) {
  std::vector<CrtcPlace> settled{restored}, changed, moved;
  for (int i = 0; i < now.crtcCount; ++i) {
    const CrtcPlace& crtc = now.crtcs[i];
    if (crtc.crtc == switchedNow.crtc) continue;
    (AsBefore(crtc, before) ? settled : changed).push_back(crtc);
  }
  std::sort(changed.begin(), changed.end(), [](const CrtcPlace& a, const CrtcPlace& b) {
    return a.x + a.y < b.x + b.y;
  });
  const int growX = restored.Right() - switchedNow.Right();
  const int growY = restored.Bottom() - switchedNow.Bottom();
  for (CrtcPlace crtc : changed) {
    const bool overlaps = std::any_of(settled.begin(), settled.end(),
                                      [&crtc](const CrtcPlace& other) { return Overlap(crtc, other); });
    if (overlaps && crtc.x >= switchedNow.Right()) {
      crtc.x += growX;
      moved.push_back(crtc);
    } else if (overlaps && crtc.y >= switchedNow.Bottom()) {
      crtc.y += growY;
      moved.push_back(crtc);
    }
    settled.push_back(crtc);
  }
  return moved;
}

// Millimetres for a screen of `pixels`, at the density the server reports
// now (96 dots per inch when it reports none).
int MillimetresFor(int pixels, int nowPixels, int nowMm) {
  if (nowPixels > 0 && nowMm > 0) return static_cast<int>(static_cast<long>(pixels) * nowMm / nowPixels);
  return static_cast<int>(pixels * 25.4 / 96.0 + 0.5);
}

// The screen grows to hold every CRTC, and never shrinks: what the user or
// the desktop set stays, and before the scene it held them all.
ScreenSize ScreenFor(const DesktopLayout& before, const DesktopLayout& now,
                     const std::vector<CrtcPlace>& placed) {
  ScreenSize size = now.screen;
  for (const CrtcPlace& crtc : placed) {
    size.width = std::max(size.width, crtc.Right());
    size.height = std::max(size.height, crtc.Bottom());
  }
  size.width = std::max(size.width, now.minimum.width);
  size.height = std::max(size.height, now.minimum.height);
  if (size.width == now.screen.width && size.height == now.screen.height) return now.screen;
  if (size.width == before.screen.width && size.height == before.screen.height) return before.screen;
  size.widthMm = MillimetresFor(size.width, now.screen.width, now.screen.widthMm);
  size.heightMm = MillimetresFor(size.height, now.screen.height, now.screen.heightMm);
  return size;
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

RestorePlan PlanRestore(const DesktopLayout& before, const DesktopLayout& now,
                        RandrId switchedOutput) {
  RestorePlan plan;
  const CrtcPlace* switchedNow = now.Driving(switchedOutput);
  const CrtcPlace* switchedBefore = before.Driving(switchedOutput);
  if (!switchedNow || !switchedBefore) {
    plan.outputGone = true;
    plan.screen = now.screen;
    return plan;
  }
  // Its mode and place of before, on whichever CRTC drives it now.
  CrtcPlace restored = *switchedBefore;
  restored.crtc = switchedNow->crtc;
  restored.outputCount = switchedNow->outputCount;
  std::copy(switchedNow->outputs, switchedNow->outputs + kMaxClones, restored.outputs);

  const std::vector<CrtcPlace> moved = MakeRoom(before, now, *switchedNow, restored);
  if (!SamePlace(restored, *switchedNow)) plan.crtcs.push_back(restored);
  plan.crtcs.insert(plan.crtcs.end(), moved.begin(), moved.end());
  plan.screen = ScreenFor(before, now, plan.crtcs);
  return plan;
}

}  // namespace platform::x11
