#include "platform/wayland/seat_probe.hpp"

#include <wayland-client.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/wayland/ignored_events.hpp"

namespace platform::wayland {
namespace {
struct Globals {
  bool seat = false;
  bool scaled = false;  // an output announced a scale above 1
  std::vector<wl_output*> outputs;
};

const wl_output_listener kOutputListener = {
    .geometry = kIgnored, .mode = kIgnored, .done = kIgnored,
    .scale = [](void* data, wl_output*, std::int32_t scale) {
      if (scale > 1) static_cast<Globals*>(data)->scaled = true;
    },
    .name = kIgnored, .description = kIgnored,
};

void NoteGlobal(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
                std::uint32_t version) {
  auto& globals = *static_cast<Globals*>(data);
  if (std::strcmp(interface, wl_seat_interface.name) == 0) globals.seat = true;
  // The scale event comes from version 2 on.
  if (std::strcmp(interface, wl_output_interface.name) != 0 || version < 2) return;
  auto* output = static_cast<wl_output*>(wl_registry_bind(registry, name, &wl_output_interface, 2));
  wl_output_add_listener(output, &kOutputListener, &globals);
  globals.outputs.push_back(output);
}
const wl_registry_listener kRegistryListener = {NoteGlobal, kIgnored};

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

Compositor ProbeCompositor(bool& scaled) {
  scaled = false;
  // A socket handed over can be taken once, and it is SDL's.
  if (Set("WAYLAND_SOCKET")) return Compositor::HandedSocket;
  wl_display* display = MayConnect() ? wl_display_connect(nullptr) : nullptr;
  if (!display) return Compositor::Absent;
  Globals globals;
  wl_registry* registry = wl_display_get_registry(display);
  wl_registry_add_listener(registry, &kRegistryListener, &globals);
  // The compositor has announced every global by the end of the first round
  // trip, and each output bound then its scale by the end of the second.
  const bool answered = wl_display_roundtrip(display) >= 0 && wl_display_roundtrip(display) >= 0;
  for (wl_output* output : globals.outputs) wl_output_destroy(output);
  wl_registry_destroy(registry);
  wl_display_disconnect(display);
  if (!answered) return Compositor::Absent;
  scaled = globals.scaled;
  return globals.seat ? Compositor::WithSeat : Compositor::Seatless;
}

}  // namespace platform::wayland
