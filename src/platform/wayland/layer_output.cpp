#include "platform/wayland/layer_output.hpp"

#include <utility>

#include "platform/wayland/ignored_events.hpp"

namespace platform::wayland {

// wl_output's name and scale come before its first "done"; the surface is
// made then, once the output is known to be the one asked for.
const wl_output_listener LayerOutput::kOutputListener = {
    .geometry = kIgnored, .mode = kIgnored,
    .done = [](void* data, wl_output*) { static_cast<LayerOutput*>(data)->MakeSurface(); },
    .scale = [](void* data, wl_output*, int32_t scale) {
      static_cast<LayerOutput*>(data)->m_scale = scale > 0 ? scale : 1;
    },
    .name = [](void* data, wl_output*, const char* name) {
      static_cast<LayerOutput*>(data)->m_name = name;
    },
    .description = kIgnored,
};

const zwlr_layer_surface_v1_listener LayerOutput::kSurfaceListener = {
    .configure = [](void* data, zwlr_layer_surface_v1*, uint32_t serial, uint32_t width,
                    uint32_t height) { static_cast<LayerOutput*>(data)->Configure(serial, width, height); },
    .closed = [](void* data, zwlr_layer_surface_v1*) { static_cast<LayerOutput*>(data)->DestroySurface(); },
};

const wl_callback_listener LayerOutput::kFrameListener = {
    .done = [](void* data, wl_callback* callback, uint32_t) {
      wl_callback_destroy(callback);
      static_cast<LayerOutput*>(data)->m_frame = nullptr;
    },
};

LayerOutput::LayerOutput(const LayerRequest& request, wl_output* output, std::uint32_t globalName)
    : m_request(request), m_output(output), m_globalName(globalName) {
  wl_output_add_listener(m_output, &kOutputListener, this);
}

LayerOutput::~LayerOutput() {
  DestroySurface();
  if (wl_output_get_version(m_output) >= WL_OUTPUT_RELEASE_SINCE_VERSION)
    wl_output_release(m_output);
  else
    wl_output_destroy(m_output);
}

// The compositor closed it (the output was turned off) or the output goes:
// a new one is made if the output comes back.
void LayerOutput::DestroySurface() {
  if (m_frame) wl_callback_destroy(std::exchange(m_frame, nullptr));
  m_request.egl->DestroySurface(std::exchange(m_drawable, EGL_NO_SURFACE));
  if (m_window) wl_egl_window_destroy(std::exchange(m_window, nullptr));
  if (m_layer) zwlr_layer_surface_v1_destroy(std::exchange(m_layer, nullptr));
  if (m_surface) wl_surface_destroy(std::exchange(m_surface, nullptr));
  m_letterbox = surface::Letterbox{};
}

// Anchored to every edge at size 0 x 0: the compositor sizes it to the
// whole output; exclusive zone -1: it covers panels' zones too.
void LayerOutput::MakeSurface() {
  if (m_surface) return;
  if (!m_request.outputName.empty() && m_name != m_request.outputName) return;
  m_surface = wl_compositor_create_surface(m_request.compositor);
  wl_surface_set_buffer_scale(m_surface, m_scale);
  const uint32_t layer = m_request.overlay ? ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY
                                           : ZWLR_LAYER_SHELL_V1_LAYER_BACKGROUND;
  m_layer = zwlr_layer_shell_v1_get_layer_surface(m_request.shell, m_surface, m_output, layer,
                                                  "winterhain");
  zwlr_layer_surface_v1_add_listener(m_layer, &kSurfaceListener, this);
  zwlr_layer_surface_v1_set_anchor(m_layer, ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP |
                                                ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM |
                                                ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT |
                                                ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT);
  zwlr_layer_surface_v1_set_size(m_layer, 0, 0);
  zwlr_layer_surface_v1_set_exclusive_zone(m_layer, -1);
  // Version 1's true: the keyboard exclusively, as a lock screen has it.
  zwlr_layer_surface_v1_set_keyboard_interactivity(m_layer, m_request.overlay ? 1 : 0);
  wl_surface_commit(m_surface);
}

void LayerOutput::Configure(std::uint32_t serial, std::uint32_t width, std::uint32_t height) {
  zwlr_layer_surface_v1_ack_configure(m_layer, serial);
  m_width = static_cast<int>(width) * m_scale;
  m_height = static_cast<int>(height) * m_scale;
  if (m_window) {
    wl_egl_window_resize(m_window, m_width, m_height, 0, 0);
    return;
  }
  m_window = wl_egl_window_create(m_surface, m_width, m_height);
  m_drawable = m_request.egl->MakeSurface(m_window);
}

bool LayerOutput::DrawIfDue(const std::function<void()>& drawFrame) {
  if (m_frame || m_drawable == EGL_NO_SURFACE) return false;
  if (!m_request.egl->MakeCurrent(m_drawable)) return false;
  m_letterbox.Start(LookUpGLCall, m_width, m_height);  // once
  m_letterbox.Resize(m_width, m_height);
  m_letterbox.FitViewport();
  drawFrame();
  m_letterbox.Present(m_width, m_height);
  m_frame = wl_surface_frame(m_surface);
  wl_callback_add_listener(m_frame, &kFrameListener, this);
  m_request.egl->Swap(m_drawable);
  return true;
}

}  // namespace platform::wayland
