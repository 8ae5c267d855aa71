#include "platform/sdl/desktop_policy.hpp"

#include <cstring>

#include "platform/x11/xwayland_probe.hpp"

namespace platform {
namespace {
enum class DesktopPath {
  RealX,          // an X server that really switches modes through RandR
  Xwayland,       // X clients of a Wayland compositor: modes are only emulated
  NativeWayland,  // SDL's wayland driver: no mode switching exists
  Other,          // off-screen or dummy drivers, or no video at all
};

DesktopPath PathOf(const char* driver) {
  if (!driver) return DesktopPath::Other;
  if (std::strcmp(driver, "wayland") == 0) return DesktopPath::NativeWayland;
  if (std::strcmp(driver, "x11") != 0) return DesktopPath::Other;
  return x11::ServerIsXwayland() ? DesktopPath::Xwayland : DesktopPath::RealX;
}
}  // namespace

DesktopPolicy DecideDesktopPolicy(const char* videoDriver) {
  switch (PathOf(videoDriver)) {
    case DesktopPath::RealX:
      return {.switchesMode = true,
              .letterboxes = false,
              .fullscreen = Fullscreen::CoverSwitchedOutput,
              .escape = EscapeSource::XServer,
              .boxes = BoxTrust::Confirmed};
    case DesktopPath::Xwayland:
      return {.switchesMode = false,
              .letterboxes = true,
              .fullscreen = Fullscreen::Desktop,
              .escape = EscapeSource::XServer,
              .boxes = BoxTrust::Confirmed};
    case DesktopPath::NativeWayland:
      // SDL hands boxes to a dialog program there and may report success
      // when that program failed.
      return {.switchesMode = false,
              .letterboxes = true,
              .fullscreen = Fullscreen::DesktopFromTheStart,
              .escape = EscapeSource::Window,
              .boxes = BoxTrust::ShownUnconfirmed};
    case DesktopPath::Other:
      break;
  }
  return DesktopPolicy{};
}

DesktopPolicy ScreensaverPolicy(SaverWindow window, unsigned long windowId) {
  const bool own = window == SaverWindow::Own;
  const Fullscreen fullscreen = own                                ? Fullscreen::Resizable
                                : window == SaverWindow::Background ? Fullscreen::DesktopBackground
                                                                   : Fullscreen::HandedOver;
  return {.switchesMode = false,
          .letterboxes = true,
          .letterboxesInPlace = true,
          .fullscreen = fullscreen,
          .escape = own ? EscapeSource::Window : EscapeSource::Nowhere,
          .boxes = BoxTrust::NotShown,
          .handedOverWindow = window == SaverWindow::Given ? windowId : 0,
          .pacesToRefresh = true,
          .endsWithOutput = true};
}

}  // namespace platform
