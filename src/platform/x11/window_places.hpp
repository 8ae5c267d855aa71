// Where the desktop's top-level windows stood before a display switch, in
// a fixed-size value that can be copied to another process as it is, and
// the moves that put back the ones the window manager pushed into the
// smaller screen (desktop_windows.hpp makes them). The scene covered the
// desktop, so every move meanwhile was the manager's, never the user's;
// does not move a window that appeared during the scene.
#pragma once

#include <cstdint>
#include <vector>

namespace platform::x11 {

constexpr int kMaxWindowPlaces = 128;

struct WindowPlace {
  std::uint32_t window = 0;  // the client's window (an X resource id)
  int x = 0, y = 0;          // its frame's top-left corner, root coordinates
};

struct WindowPlaces {
  int count = 0;
  WindowPlace places[kMaxWindowPlaces] = {};

  bool Add(const WindowPlace& place);                 // false when full
  const WindowPlace* Of(std::uint32_t window) const;  // null when not there
};

// The recorded place of each window still there that stands elsewhere now.
std::vector<WindowPlace> PlanWindowMoves(const WindowPlaces& recorded, const WindowPlaces& now);

}  // namespace platform::x11
