#include "platform/platform.hpp"

#include <utility>

#include "platform/posix/children.hpp"
#include "platform/posix/signals.hpp"
#include "platform/posix/standard_output.hpp"
#include "platform/sdl/state.hpp"
#include "platform/x11/display_mode.hpp"
#include "platform/x11/x_errors.hpp"

namespace platform {
namespace {
// Never destroyed at exit, only by Shutdown: at exit the libraries it would
// call into may already be gone.
PlatformState* g_platform = new PlatformState;
bool g_processPrepared = false;  // the whole process's: kept across Shutdown

// The display guard loads while SDL starts, where the mode can be
// switched (RandR): SDL takes the X server whenever there is one it may use.
void GuardEarly(x11::DisplaySwitch& display, Host host, Role role) {
  host.videoDriver = "x11";
  if (host.x && host.xRandr && DecidePolicy(host, role).switchesMode) display.PrepareGuard();
}

void StartVideo(PlatformState& state) {
  state.xErrors.Install();
  const InitOptions& options = state.options;
  // A window handed over draws on its own screen, whichever DISPLAY names.
  if (options.saverWindow == SaverWindow::Given) state.xServer.AimAtScreenOf(options.saverWindowId);
  const Role role = RoleOf(options);
  if (!state.video.Start(options.onScreenOnly, role, state.xServer, state.host, state.lastError,
                         [&](const Host& host) { GuardEarly(state.display, host, role); }))
    return;
  state.policy = DecidePolicy(state.host, role);
  if (state.policy.switchesMode) state.display.Use(state.xServer.Display());
  const bool serverKeys = state.policy.escape == EscapeSource::XServer &&
                          state.xKeys.Open(state.xServer.Display());
  state.keyWatch.Start(serverKeys ? &state.xKeys : nullptr);
}

void PrepareProcess() {
  if (std::exchange(g_processPrepared, true)) return;
  posix::HoldStandardStreams();
  posix::BindChildrenToProgram();
  x11::EndOnLostDisplayConnection();
  posix::InstallTerminationSignals();
}
}  // namespace

PlatformState& State() { return *g_platform; }

// A screensaver must end when told to, even held up in a library: the
// program that started it waits for that before it shows the desktop.
constexpr unsigned kSaverEndSeconds = 3;

bool Init(const InitOptions& options) {
  if (options.ownProcess) PrepareProcess();
  if (options.ownProcess && options.saverWindow != SaverWindow::NotSaver)
    posix::DieOfTerminationWithin(kSaverEndSeconds);
  PlatformState& state = State();
  if (!state.initialised) {
    state.initialised = true;
    state.options = options;
    if (options.video) StartVideo(state);
  }
  return state.video.Up();
}

void Shutdown() {
  const bool screensaver = State().options.saverWindow != SaverWindow::NotSaver;
  delete g_platform;
  g_platform = new PlatformState;
  if (g_processPrepared && screensaver) posix::EndAsSignalled();
}

bool SetDisplayMode(std::optional<DisplaySize> size) {
  PlatformState& state = State();
  if (!size) {
    state.display.Restore();
    return true;
  }
  return state.policy.switchesMode && state.display.Switch(size->width, size->height);
}

std::string LastError() { return State().lastError; }
void SetLastError(const std::string& text) { State().lastError = text; }

}  // namespace platform
