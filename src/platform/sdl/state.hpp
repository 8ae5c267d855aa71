// Everything the platform layer holds, in one place.
//
// Does:
//  - declare the members in the order they are set up, so that destroying
//    the state (Shutdown) undoes them in reverse
// Does not:
//  - hold what is the whole process's (its set-up in platform.hpp, the
//    signal flags, the X error notes Xlib's handlers reach)
#pragma once

#include <string>

#include "platform/platform.hpp"
#include "platform/posix/standard_output.hpp"
#include "platform/sdl/desktop_policy.hpp"
#include "platform/sdl/key_watch.hpp"
#include "platform/sdl/mixer_audio.hpp"
#include "platform/sdl/video.hpp"
#include "platform/sdl/window_record.hpp"
#include "platform/surface/letterbox.hpp"
#include "platform/x11/display_mode.hpp"
#include "platform/x11/handed_window.hpp"
#include "platform/x11/key_state.hpp"
#include "platform/x11/server.hpp"
#include "platform/x11/x_errors.hpp"

namespace platform {

// The GL library, kept loaded from the first surface opened until Shutdown:
// SDL would unload it with the last OpenGL window, while the context (which
// outlives the window) still needs it, and loading it again is slow.
class GLLibrary {
 public:
  GLLibrary() = default;
  ~GLLibrary();
  GLLibrary(const GLLibrary&) = delete;
  GLLibrary& operator=(const GLLibrary&) = delete;
  bool Load(std::string& error);  // false, with `error` filled in, without OpenGL

  SurfaceFormat grantedRequest;  // the one format windows have taken

 private:
  bool m_loaded = false;
};

struct PlatformState {
  InitOptions options;
  bool initialised = false;
  // Before SDL's own connection opens, and gone only after it has closed:
  // an X error there (a GL driver the server refuses) must end in a failed
  // call, not in Xlib ending the process.
  x11::ErrorTrap xErrors;
  // The program's own X connection, beside SDL's, from before SDL's opens
  // until after it has closed.
  x11::Server xServer;
  Host host;
  SdlVideo video;
  DesktopPolicy policy;
  x11::KeyState xKeys;  // on xServer, where Escape is read from the X server
  KeyWatch keyWatch;
  x11::HandedWindow handed;    // watched on xServer where the policy hands a window over
  posix::OutputWatch output;   // where the policy ends with the output
  x11::DisplaySwitch display;  // on xServer, switched before the first window is made
  WindowRegistry windows;
  GLLibrary gl;                // from the first pixel-format query
  surface::Letterbox letterbox;  // with the GL context, where the policy asks
  MixerSound sound;            // when the music starts
  std::string lastError;
};

// The layer's state; a fresh one after each Shutdown.
PlatformState& State();
// Sets what LastError() reports.
void SetLastError(const std::string& text);

}  // namespace platform
