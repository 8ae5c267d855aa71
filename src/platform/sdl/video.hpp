// SDL's video subsystem, held while the layer is started.
//
// Does:
//  - find the host in one pass first (platform/host.hpp), then start video
//    without SDL's signal handlers and without a session bus launched for it
//  - off-screen and dummy drivers only when asked by name, and never for a
//    program shown only on screen
//  - with no driver asked for: name the display that cannot be reached, and
//    start wayland before X11 where the policy prefers it
//  - keep SDL's wayland driver off a compositor without a seat
//    (Quirks::sdlWaylandNeedsSeat), SDL off RandR where X lacks it and off libdecor
//  - name the program "Winterhain" to the session, and keep the screen
//    awake only for the program and its tools, never for a screensaver
// Does not:
//  - start any other SDL subsystem (the audio library starts its own)
#pragma once

#include <functional>
#include <string>

#include "platform/host.hpp"
#include "platform/sdl/desktop_policy.hpp"
#include "platform/x11/server.hpp"

namespace platform {

class SdlVideo {
 public:
  SdlVideo() = default;
  ~SdlVideo();  // quits SDL as a whole
  SdlVideo(const SdlVideo&) = delete;
  SdlVideo& operator=(const SdlVideo&) = delete;

  // Finds `host`, asking the X server on `xServer`, tells `hostFound`
  // before SDL starts, and starts the driver `role`'s policy prefers there;
  // false, with `error` filled in, when there is no display to show on.
  bool Start(bool onScreenOnly, Role role, x11::Server& xServer, Host& host, std::string& error,
             const std::function<void(const Host&)>& hostFound);
  bool Up() const { return m_up; }

 private:
  bool m_up = false;
};

}  // namespace platform
