// Temporary display-mode switches of one output through RandR 1.2, undone
// at the end, with a guard process (display_guardian.hpp) for the ends the
// program does not see. Records the desktop first, never taking a mode
// another running instance switched to for the desktop's, and gives it
// back as one change (desktop_layout.hpp), then the windows the window
// manager moved (window_places.hpp). Does not switch the depth or choose a
// refresh rate (the first mode of the size is taken), nor decide whether
// to switch at all (the desktop policy does).
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
  ~DisplaySwitch();  // gives the desktop back, closes the connection, ends the guard
  DisplaySwitch(const DisplaySwitch&) = delete;
  DisplaySwitch& operator=(const DisplaySwitch&) = delete;

  void Use(_XDisplay* connection);  // the program's own, open until this is gone
  // The primary output when it is in use, else the first connected one in
  // use; the screen with it where that output alone fills the screen. True
  // when the output reads back width x height.
  bool Switch(std::uint32_t width, std::uint32_t height);
  void Restore();
  // Gives the desktop back until the matching Resume (the program stopped
  // or its window minimised); holds nest, and the last Resume switches
  // again, true when it did.
  void Hold();
  bool Resume();
  // Starts the guard early, while the program goes on with its start.
  void PrepareGuard();
  // Replaces a guard that was killed (called with every event poll).
  void KeepGuarded();
  std::optional<DisplayArea> SwitchedArea() const { return m_switched; }

 private:
  void SayUnguarded();
  bool SwitchOn(_XDisplay* display, _XRRScreenResources* resources);

  _XDisplay* m_display = nullptr;  // where RandR 1.2 is there
  unsigned long m_owner = 0;       // its window, which holds this instance's record
  std::uint32_t m_width = 0, m_height = 0;  // the size asked for
  int m_holds = 0;  // Hold calls not yet resumed
  std::optional<SwitchedDesktop> m_desktop;  // what to give back
  std::optional<DisplayArea> m_switched;  // while a switch is in effect
  bool m_guardTried = false;
  std::string m_noGuard;  // why there is no guard, until said at the switch
  DisplayGuardian m_guardian;
};

// The display guard's whole life (winterhain-guard's main).
[[noreturn]] void RunDisplayGuard();

}  // namespace platform::x11
