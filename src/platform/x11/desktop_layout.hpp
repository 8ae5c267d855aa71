// The desktop's arrangement of monitors as plain data, in fixed-size values
// that can be copied to another process as they are, and the one change
// that gives back what a display switch altered in it (randr_desktop.hpp
// reads and applies them). Does not undo what the user changed during the
// scene: outputs turned on, off or moved, the primary output, the density.
#pragma once

#include <cstdint>
#include <vector>

namespace platform::x11 {

using RandrId = std::uint32_t;  // CRTCs, outputs and modes are X resource ids: 29 bits

constexpr int kMaxCrtcs = 32;
constexpr int kMaxClones = 4;  // outputs one CRTC shows the same picture on

struct ScreenSize {
  int width = 0, height = 0;      // pixels
  int widthMm = 0, heightMm = 0;  // what the server reports, for its DPI

  bool operator==(const ScreenSize&) const = default;
};

// One CRTC in use; its extent on the screen with the rotation applied.
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
  int crtcCount = 0;
  CrtcPlace crtcs[kMaxCrtcs] = {};

  // Null when the output is off or gone.
  const CrtcPlace* Driving(RandrId output) const;
  CrtcPlace* Driving(RandrId output);
  bool Add(const CrtcPlace& place);  // false when full
};

struct RestorePlan {
  bool outputGone = false;  // the switched output is off or unplugged
  bool fits = true;         // false: the screen would exceed the server's maximum
  ScreenSize screen;        // at the density the server reports now
  std::vector<CrtcPlace> crtcs;  // every CRTC in use, in `now`'s order

  bool ChangesScreen(const ScreenSize& now) const;
};

// The mode's size, at the present density, where `output` alone fills the
// screen (a VNC server's one output: a viewer would see the scene in a
// corner of a screen left as it is); else the screen of now.
ScreenSize ScreenForSwitch(const DesktopLayout& now, RandrId output, int width, int height);

// `now` with `switchedOutput` at its mode and rotation of `before` again,
// grown from its top-left corner; what is in its way is pushed just clear,
// rightwards (downwards below it), so that no output changes sides with
// another; then all moved to the top-left corner. A screen still as the
// switch set it (`switchedScreen`) gets its size and density of `before`.
RestorePlan PlanRestore(const DesktopLayout& before, const DesktopLayout& now,
                        RandrId switchedOutput, const ScreenSize& switchedScreen);

}  // namespace platform::x11
