#include "platform/layer_surfaces.hpp"

#include <poll.h>
#include <wayland-client.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/wayland/egl_context.hpp"
#include "platform/wayland/layer_output.hpp"
#include "platform/wayland/seat_input.hpp"

namespace platform {

// Declared in the order they are made: they go back in reverse, the
// surfaces before the context and the connection last.
struct LayerSurfaces::Connection {
  std::unique_ptr<wl_display, decltype(&wl_display_disconnect)> display{nullptr,
                                                                       wl_display_disconnect};
  wl_registry* registry = nullptr;
  wayland::LayerRequest request;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> unboundOutputs;  // name, version
  wayland::EglContext egl;
  wayland::SeatInput input;
  std::vector<std::unique_ptr<wayland::LayerOutput>> outputs;

  ~Connection() {
    outputs.clear();
    input.Release();
    // Bound at version 1, which has no destroy request (it came in 3): only
    // the proxy goes.
    if (request.shell) wl_proxy_destroy(reinterpret_cast<wl_proxy*>(request.shell));
    if (request.compositor) wl_compositor_destroy(request.compositor);
    if (registry) wl_registry_destroy(registry);
  }

  void BindOutput(std::uint32_t name, std::uint32_t version) {
    auto* output = static_cast<wl_output*>(
        wl_registry_bind(registry, name, &wl_output_interface, std::min(version, 4u)));
    outputs.push_back(std::make_unique<wayland::LayerOutput>(request, output, name));
  }

  void Global(std::uint32_t name, const char* interface, std::uint32_t version) {
    const std::string_view what(interface);
    if (what == wl_compositor_interface.name) {
      request.compositor = static_cast<wl_compositor*>(
          wl_registry_bind(registry, name, &wl_compositor_interface, std::min(version, 4u)));
    } else if (what == zwlr_layer_shell_v1_interface.name) {
      request.shell = static_cast<zwlr_layer_shell_v1*>(
          wl_registry_bind(registry, name, &zwlr_layer_shell_v1_interface, 1));
    } else if (what == wl_output_interface.name) {
      // Outputs of the first listing wait until the context is there.
      if (request.egl) BindOutput(name, version);
      else unboundOutputs.emplace_back(name, version);
    } else if (what == wl_seat_interface.name && request.overlay) {
      input.Bind(registry, name, version);
    }
  }
};

namespace {
const wl_registry_listener kRegistryListener = {
    .global = [](void* data, wl_registry*, uint32_t name, const char* interface, uint32_t version) {
      static_cast<LayerSurfaces::Connection*>(data)->Global(name, interface, version);
    },
    .global_remove = [](void* data, wl_registry*, uint32_t name) {
      std::erase_if(static_cast<LayerSurfaces::Connection*>(data)->outputs,
                    [name](const auto& output) { return output->GlobalName() == name; });
    },
};

// Handles what the compositor sent, waiting a quarter of a second at most
// for it, so that a termination signal that came just before the poll is
// seen soon. False once the connection is broken.
bool Dispatch(wl_display* display) {
  if (wl_display_dispatch_pending(display) < 0 ||
      (wl_display_flush(display) < 0 && errno != EAGAIN))
    return false;
  pollfd fd{wl_display_get_fd(display), POLLIN, 0};
  return poll(&fd, 1, 250) <= 0 || wl_display_dispatch(display) >= 0;
}
}  // namespace

LayerSurfaces::LayerSurfaces() = default;
LayerSurfaces::~LayerSurfaces() = default;

bool LayerSurfaces::Start(SaverWindow layer, const std::string& outputName, std::string& error) {
  m_connection = std::make_unique<Connection>();
  Connection& c = *m_connection;
  c.display.reset(wl_display_connect(nullptr));
  if (!c.display) {
    error = "no Wayland compositor to connect to";
    return false;
  }
  c.request.overlay = layer == SaverWindow::Overlay;
  c.request.outputName = outputName;
  c.registry = wl_display_get_registry(c.display.get());
  wl_registry_add_listener(c.registry, &kRegistryListener, &c);
  wl_display_roundtrip(c.display.get());
  if (!c.request.shell || !c.request.compositor) {
    error = "the Wayland compositor has no layer shell (zwlr_layer_shell_v1) to show the scene on";
    return false;
  }
  if (!c.egl.Start(c.display.get(), error)) return false;
  c.request.egl = &c.egl;
  for (const auto& [name, version] : std::exchange(c.unboundOutputs, {})) c.BindOutput(name, version);
  wl_display_roundtrip(c.display.get());
  return true;
}

bool LayerSurfaces::Wait() {
  m_gone = !Dispatch(m_connection->display.get());
  return !m_gone && !m_connection->input.Came();
}

bool LayerSurfaces::DrawDue(const std::function<void()>& drawFrame) {
  bool drawn = false;
  for (const auto& output : m_connection->outputs) drawn = output->DrawIfDue(drawFrame) || drawn;
  return drawn;
}

}  // namespace platform
