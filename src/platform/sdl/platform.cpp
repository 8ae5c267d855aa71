#include "platform/platform.hpp"

#include "platform/posix/standard_output.hpp"
#include "platform/sdl/session_names.hpp"
#include "platform/sdl/state.hpp"
#include "platform/x11/window_screen.hpp"

namespace platform {
namespace {
// Never destroyed at exit, only by Shutdown: at exit the libraries it would
// call into may already be gone.
PlatformState* g_platform = new PlatformState;

void StartVideo(PlatformState& state) {
  state.xErrors.Install();
  const InitOptions& options = state.options;
  // A screensaver is what blanks the screen: it never keeps it awake.
  NameSessionCalls(/*keepsScreenAwake=*/options.saverWindow == SaverWindow::NotSaver);
  // A window handed over draws on its own screen, whichever DISPLAY names.
  if (options.saverWindow == SaverWindow::Given) x11::AimDisplayAtScreenOf(options.saverWindowId);
  const Role role = RoleOf(options);
  if (!state.video.Start(options.onScreenOnly, role, state.xServer, state.host, state.lastError))
    return;
  state.policy = DecidePolicy(state.host, role);
  if (state.policy.endsWithOutput) posix::IgnoreBrokenPipes();
  const bool serverKeys = state.policy.escape == EscapeSource::XServer &&
                          state.xKeys.Open(state.xServer.Display());
  state.keyWatch.Start(serverKeys ? &state.xKeys : nullptr);
}
}  // namespace

PlatformState& State() { return *g_platform; }

bool Init(const InitOptions& options) {
  PlatformState& state = State();
  if (!state.initialised) {
    state.initialised = true;
    state.options = options;
    StartVideo(state);
  }
  return state.video.Up();
}

void Shutdown() {
  delete g_platform;
  g_platform = new PlatformState;
}

// Xwayland would just scale the picture, and with any other SDL video
// driver nothing of the scene shows on the X display.
bool SwitchDisplayMode(std::uint32_t width, std::uint32_t height) {
  PlatformState& state = State();
  return state.policy.switchesMode && state.display.Switch(width, height);
}

void RestoreDisplayMode() { State().display.Restore(); }

std::string LastError() { return State().lastError; }
void SetLastError(const std::string& text) { State().lastError = text; }

}  // namespace platform
