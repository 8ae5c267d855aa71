#include "platform/sdl/desktop_policy.hpp"

namespace platform {
namespace {
DesktopPolicy SaverPolicy(Role role) {
  const bool own = role == Role::SaverInOwnWindow;
  return {.letterboxes = true,
          .fullscreen = own                                   ? Fullscreen::Resizable
                        : role == Role::SaverAsDesktopWindow ? Fullscreen::DesktopBackground
                                                              : Fullscreen::HandedOver,
          .escape = own ? EscapeSource::Window : EscapeSource::Nowhere,
          .pacesToRefresh = true,
          .endsWithOutput = true,
          .quirks = {}};
}

// A real X server switches modes through RandR; Xwayland's modes are only
// emulated; SDL's wayland driver has no mode switching at all.
DesktopPolicy DesktopPolicyOf(const Host& host) {
  if (host.videoDriver == "x11" && !host.xwayland)
    return {.switchesMode = true,
            .fullscreen = Fullscreen::CoverSwitchedOutput,
            .escape = EscapeSource::XServer,
            .boxes = BoxTrust::Confirmed,
            .quirks = {}};
  if (host.videoDriver == "x11")
    return {.letterboxes = true,
            .fullscreen = Fullscreen::Desktop,
            .escape = EscapeSource::XServer,
            .boxes = BoxTrust::Confirmed,
            .quirks = {.fullscreenWhenShown = true, .decoratedUntilFullscreen = true}};
  if (host.videoDriver == "wayland")
    return {.letterboxes = true,
            .fullscreen = Fullscreen::Desktop,
            .escape = EscapeSource::Window,
            .boxes = BoxTrust::ShownUnconfirmed,
            .quirks = {.fullscreenAtCreation = true, .sdlWaylandFullscreensOnItsDisplay = true}};
  return {};  // off-screen or dummy drivers, or no video at all
}
}  // namespace

Role RoleOf(const InitOptions& options) {
  switch (options.saverWindow) {
    case SaverWindow::Own: return Role::SaverInOwnWindow;
    case SaverWindow::Given:
    case SaverWindow::Root: return Role::SaverInHandedWindow;
    case SaverWindow::Background:
    case SaverWindow::Overlay: return Role::SaverAsDesktopWindow;  // layer-shell ones are never SDL's
    case SaverWindow::NotSaver: break;
  }
  return options.switchDisplay ? Role::Program : Role::Tool;
}

DesktopPolicy DecidePolicy(const Host& host, Role role) {
  if (role != Role::Program && role != Role::Tool) return SaverPolicy(role);
  DesktopPolicy policy = DesktopPolicyOf(host);
  if (role == Role::Tool) policy.switchesMode = false;
  // From what is found before SDL starts: the same before and after.
  policy.prefersNativeWayland = Quirks{}.xwaylandScaledUp && host.xwayland &&
                                host.waylandScaled && host.wayland == Compositor::WithSeat;
  return policy;
}

}  // namespace platform
