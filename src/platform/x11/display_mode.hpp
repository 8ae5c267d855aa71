// Temporary display-mode switches through RandR 1.2 or later, undone at the
// end, with a guard process (display_guardian.hpp), or a line saying there
// is none, for the ends the program does not see. One output is switched:
// the primary one when it is in use, else the first connected one in use;
// the screen with it where that output alone fills the screen. The
// desktop's layout is recorded first, never taking a mode another running
// instance switched to for the desktop's, and given back as one change,
// also when the screen or the other outputs changed meanwhile
// (desktop_layout.hpp); then the windows the window manager moved are put
// back (window_places.hpp). No depth is switched (an X server has one) and
// no refresh rate chosen (the first mode of the size is taken); whether to
// switch at all is the desktop policy's.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/x11/display_guardian.hpp"

struct _XDisplay;
struct _XRRScreenResources;

namespace platform::x11 {

// Where the switched output sits, in root-window coordinates.
struct DisplayArea {
  int x = 0, y = 0, width = 0, height = 0;
};

class DisplaySwitch {
 public:
  DisplaySwitch() = default;
  // Gives the desktop back, closes the connection, ends the guard.
  ~DisplaySwitch();
  DisplaySwitch(const DisplaySwitch&) = delete;
  DisplaySwitch& operator=(const DisplaySwitch&) = delete;

  // The program's own connection, on which the switch is made; it stays
  // open until this is gone.
  void Use(_XDisplay* connection);
  // True when the output now runs at width x height. Only a switch that
  // reads back the asked-for size counts.
  bool Switch(std::uint32_t width, std::uint32_t height);
  // Gives the desktop back; does nothing when nothing was switched.
  void Restore();
  // Gives the desktop back until the matching Resume; holds nest (the
  // program stopped while its window is minimised). A no-op when nothing is
  // switched or held.
  void Hold();
  // Ends one Hold; the last one switches again. True when it did.
  bool Resume();
  // Starts the guard early, while the program goes on with its start; the
  // first switch waits until it is ready.
  void PrepareGuard();
  // Replaces a guard that was killed (called with every event poll).
  void KeepGuarded();
  // The switched output's area while a switch is in effect.
  std::optional<DisplayArea> SwitchedArea() const;

 private:
  enum class State {
    Desktop,   // nothing to give back
    Saved,     // `m_desktop` holds what to give back; no switch in effect
    Switched,  // and the switch succeeded and reads back the size asked for
  };

  void StartGuard();
  void SayUnguarded();
  bool SwitchOn(_XDisplay* display, _XRRScreenResources* resources);

  _XDisplay* m_display = nullptr;  // the program's own connection, where it takes RandR 1.2
  unsigned long m_owner = 0;       // its window, which holds this instance's record
  State m_state = State::Desktop;
  std::uint32_t m_width = 0, m_height = 0;  // the size asked for
  int m_holds = 0;  // Hold calls not yet resumed; any: a switch to make again at the last
  SwitchedDesktop m_desktop;
  DisplayArea m_switchedArea;
  bool m_guardTried = false;
  std::string m_noGuard;  // why there is no guard, until said at the switch
  DisplayGuardian m_guardian;  // started before the first switch
};

// In a process started with kGuardFlag, the guard's whole life; else nothing.
void RunGuardIfAsked(int argc, char** argv);

}  // namespace platform::x11
