// Temporary display-mode switches through RandR 1.2 or later, undone at the
// end, with a guard process for the ends the program does not see.
//
// Does:
//  - switch the size of one output (the primary, else the first connected
//    one), on a connection of its own
//  - remember the desktop's mode, never one another instance switched to,
//    and leave a guard process that puts it back if the program dies
// Does not:
//  - switch bits per pixel: an X server has one depth
//  - choose a refresh rate: the first mode of the asked-for size is taken
//  - decide whether to switch at all: that is the desktop policy's
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/x11/display_guardian.hpp"

struct _XDisplay;
struct _XRRScreenResources;

namespace platform::x11 {

// Where the switched output sits, in root-window coordinates.
struct DisplayArea {
  int x = 0, y = 0, width = 0, height = 0;
};

// One CRTC's configuration, enough to put it back as it was.
struct CrtcConfig {
  unsigned long crtc = 0;
  unsigned long mode = 0;
  int x = 0, y = 0;
  unsigned short rotation = 1;  // RR_Rotate_0
  std::vector<unsigned long> outputs;
};

class DisplaySwitch {
 public:
  DisplaySwitch() = default;
  // Puts the desktop's mode back, closes the connection, ends the guard.
  ~DisplaySwitch();
  DisplaySwitch(const DisplaySwitch&) = delete;
  DisplaySwitch& operator=(const DisplaySwitch&) = delete;

  // True when the output now runs at width x height. Only a switch that
  // reads back the asked-for size counts.
  bool Switch(std::uint32_t width, std::uint32_t height);
  // Puts the remembered mode back; does nothing when nothing was switched.
  void Restore();
  // The switched output's area while a switch is in effect.
  std::optional<DisplayArea> SwitchedArea() const;

 private:
  enum class State {
    Desktop,   // nothing to put back
    Saved,     // `m_desktop` holds the mode to put back on `m_output`; no switch in effect
    Switched,  // and the switch succeeded and reads back the size asked for
  };

  _XDisplay* OpenDisplay();
  bool SwitchOn(_XDisplay* display, _XRRScreenResources* resources, unsigned width,
                unsigned height);
  RestoreOutcome RestoreOn(_XDisplay* display) const;
  RestoreOutcome RestoreFromGuardian() const;

  _XDisplay* m_display = nullptr;  // the RandR connection, opened at the first switch
  State m_state = State::Desktop;
  unsigned long m_output = 0;
  CrtcConfig m_desktop;
  DisplayArea m_switchedArea;
  DisplayGuardian m_guardian;  // started before the first switch
};

}  // namespace platform::x11
