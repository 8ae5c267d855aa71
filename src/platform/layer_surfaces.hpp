// The scene on the layers of a Wayland compositor's desktop (the layer
// shell, zwlr_layer_shell_v1): behind every window, or above them all as
// a screensaver. One surface per output, covering it, and one OpenGL
// context that each surface's frame is drawn with in turn.
//
// Does:
//  - a surface for each output (or the one named), made and removed as
//    outputs come and go, at the output's device pixels
//  - the 4:3 design in proportion on each, black bars around it
//  - a new frame only where the compositor has shown the previous one (its
//    frame callback): nothing is drawn on an output while it is covered
//  - on the overlay: the keyboard, and an end at the first key, pointer
//    motion or touch
// Does not:
//  - music, display modes, the frame-rate observer of the window's swap
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/platform.hpp"

namespace platform {

class LayerSurfaces {
 public:
  LayerSurfaces();
  ~LayerSurfaces();  // every surface and the connection go back

  // Connects to the compositor and leaves the context current (without a
  // surface) for the frame code's set-up; on the overlay if `layer` is
  // Overlay, else the background. False with `error` set where there is no
  // compositor, no layer shell or no OpenGL.
  bool Start(SaverWindow layer, const std::string& outputName, std::string& error);
  // Waits a little for the compositor's events and handles them; false
  // once the compositor is gone or, on the overlay, input has come.
  bool Wait();
  // Draws a frame on each surface that is due for one, with its drawable
  // current and the viewport at its design area; true if any was drawn.
  bool DrawDue(const std::function<void()>& drawFrame);
  // After Wait said false: the connection broke (the compositor ended).
  bool CompositorGone() const { return m_gone; }

  struct Connection;

 private:
  std::unique_ptr<Connection> m_connection;
  bool m_gone = false;
};

}  // namespace platform
