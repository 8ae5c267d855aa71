#include "platform/wayland/seat_probe.hpp"

#include <wayland-client.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace platform::wayland {
namespace {
void NoteGlobal(void* data, wl_registry*, std::uint32_t, const char* interface, std::uint32_t) {
  if (std::strcmp(interface, wl_seat_interface.name) == 0) *static_cast<bool*>(data) = true;
}
void IgnoreRemoval(void*, wl_registry*, std::uint32_t) {}
const wl_registry_listener kRegistryListener = {NoteGlobal, IgnoreRemoval};

bool Set(const char* name) {
  const char* value = std::getenv(name);
  return value && *value;
}

// The library's own rule: an absolute socket path, or a name in the runtime
// folder; without either, connecting only prints an error line on stderr.
bool MayConnect() {
  const char* display = std::getenv("WAYLAND_DISPLAY");
  return (display && display[0] == '/') || Set("XDG_RUNTIME_DIR");
}
}  // namespace

Compositor ProbeCompositor() {
  // A socket handed over can be taken once, and it is SDL's.
  if (Set("WAYLAND_SOCKET")) return Compositor::HandedSocket;
  wl_display* display = MayConnect() ? wl_display_connect(nullptr) : nullptr;
  if (!display) return Compositor::Absent;
  bool seat = false;
  wl_registry* registry = wl_display_get_registry(display);
  wl_registry_add_listener(registry, &kRegistryListener, &seat);
  // One round trip: the compositor has announced every global by its end.
  const bool answered = wl_display_roundtrip(display) >= 0;
  wl_registry_destroy(registry);
  wl_display_disconnect(display);
  if (!answered) return Compositor::Absent;
  return seat ? Compositor::WithSeat : Compositor::Seatless;
}

}  // namespace platform::wayland
