// The desktop's arrangement of monitors as plain data, and the one change
// that gives back what a display switch altered in it.
//
// Does:
//  - hold the screen's size and every CRTC in use (mode, place, rotation,
//    the outputs it drives), in a fixed-size value that can be copied to
//    another process as it is
//  - work out, from the layout before the switch and the one now, which
//    CRTCs get which mode and place and how large the screen must be
// Does not:
//  - talk to the X server (randr_desktop.hpp reads and applies layouts)
//  - undo what the user changed during the scene: outputs turned on, off or
//    moved stay as they are, moved only where they would overlap
#pragma once

#include <cstdint>
#include <vector>

namespace platform::x11 {

// RandR identifiers (CRTCs, outputs, modes) are X resource ids: 29 bits.
using RandrId = std::uint32_t;

constexpr int kMaxCrtcs = 32;
constexpr int kMaxClones = 4;  // outputs one CRTC shows the same picture on

struct ScreenSize {
  int width = 0, height = 0;      // pixels
  int widthMm = 0, heightMm = 0;  // what the server reports, for its DPI
};

// One CRTC in use. Width and height are its extent on the screen, with the
// rotation applied (a mode turned by 90 degrees stands on its side).
struct CrtcPlace {
  RandrId crtc = 0;
  RandrId mode = 0;
  int x = 0, y = 0;
  int width = 0, height = 0;
  std::uint16_t rotation = 1;  // RandR's RR_Rotate_0
  int outputCount = 0;
  RandrId outputs[kMaxClones] = {};

  bool Drives(RandrId output) const;
  int Right() const { return x + width; }
  int Bottom() const { return y + height; }
};

struct DesktopLayout {
  ScreenSize screen;
  ScreenSize minimum, maximum;  // the sizes the server accepts
  RandrId primary = 0;          // 0: no primary output
  int crtcCount = 0;
  CrtcPlace crtcs[kMaxCrtcs] = {};

  // The CRTC driving `output`; null when the output is off or gone.
  const CrtcPlace* Driving(RandrId output) const;
  CrtcPlace* Driving(RandrId output);
  bool Add(const CrtcPlace& place);  // false when full
};

// The change that gives the desktop back: the screen's new size, then the
// CRTCs to set, in this order (the screen only grows, so each one fits).
struct RestorePlan {
  bool outputGone = false;  // the switched output is off or unplugged
  ScreenSize screen;
  std::vector<CrtcPlace> crtcs;

  bool ChangesScreen(const ScreenSize& now) const;
};

// What to do to `now` so that `switchedOutput` has its mode and place of
// `before` again. Outputs placed right of it (or below it) during the scene
// move by as much as it grows, where they would overlap it otherwise.
RestorePlan PlanRestore(const DesktopLayout& before, const DesktopLayout& now,
                        RandrId switchedOutput);

}  // namespace platform::x11
