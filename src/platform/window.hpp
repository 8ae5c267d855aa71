// System windows: borderless, created hidden, shown on request.
//
// Does:
//  - place windows relative to the switched output; mark one covering it
//    as fullscreen for the window manager
//  - cover the whole output where the desktop policy says (Wayland)
//  - make the system window once: when its pixel format is set
//    (gl_surface.hpp), or when a window without one is first shown
// Does not:
//  - title bars, resizing by the user, minimising, maximising
//  - move or resize a window after it is made
#pragma once

#include <cstdint>

namespace platform {

struct Window;  // opaque; one per system window

// A picture for the window icon, 32-bit 0xAARRGGBB pixels, top row first.
struct Icon {
  int width = 0;
  int height = 0;
  const std::uint32_t* pixels = nullptr;
};

struct WindowDesc {
  const char* title = "";
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  const Icon* icon = nullptr;
};

// Creates the window hidden; nullptr on failure (see LastError()), or when
// the layer has no video.
Window* CreateSystemWindow(const WindowDesc& desc);
void DestroySystemWindow(Window* window);
void ShowSystemWindow(Window* window);
void RaiseSystemWindow(Window* window);
void FocusSystemWindow(Window* window);
void GetClientSize(const Window* window, int& width, int& height);

// Shows or hides the mouse pointer over every window of the program.
void SetCursorVisible(bool visible);

}  // namespace platform
