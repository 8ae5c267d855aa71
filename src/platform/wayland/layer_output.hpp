// One output's layer surface: covering the output, its EGL drawable at the
// output's device pixels, its frames paced by the compositor's callbacks.
#pragma once

#include <wayland-client.h>
#include <wayland-egl.h>

#include <cstdint>
#include <functional>
#include <string>

#include "platform/surface/letterbox.hpp"
#include "platform/wayland/egl_context.hpp"
// The generated header names a parameter "namespace", a C++ keyword.
#define namespace namespace_
#include "wlr-layer-shell-unstable-v1-client-protocol.h"
#undef namespace

namespace platform::wayland {

struct LayerRequest {
  zwlr_layer_shell_v1* shell = nullptr;
  wl_compositor* compositor = nullptr;
  EglContext* egl = nullptr;
  bool overlay = false;       // the overlay layer and the keyboard; else the background
  std::string outputName;     // empty: every output
};

class LayerOutput {
 public:
  LayerOutput(const LayerRequest& request, wl_output* output, std::uint32_t globalName);
  ~LayerOutput();
  LayerOutput(const LayerOutput&) = delete;
  LayerOutput& operator=(const LayerOutput&) = delete;

  std::uint32_t GlobalName() const { return m_globalName; }
  // Draws a frame if the compositor has shown the last one; true if drawn.
  bool DrawIfDue(const std::function<void()>& drawFrame);

 private:
  static const wl_output_listener kOutputListener;
  static const zwlr_layer_surface_v1_listener kSurfaceListener;
  static const wl_callback_listener kFrameListener;
  void MakeSurface();
  void DestroySurface();
  void Configure(std::uint32_t serial, std::uint32_t width, std::uint32_t height);

  LayerRequest m_request;
  wl_output* m_output;
  std::uint32_t m_globalName;
  std::string m_name;
  int m_scale = 1;
  wl_surface* m_surface = nullptr;
  zwlr_layer_surface_v1* m_layer = nullptr;
  wl_egl_window* m_window = nullptr;
  EGLSurface m_drawable = EGL_NO_SURFACE;
  wl_callback* m_frame = nullptr;  // a frame shown is awaited
  int m_width = 0;                 // device pixels
  int m_height = 0;
  surface::Letterbox m_letterbox;
};

}  // namespace platform::wayland
