#include "platform/x11/window_places.hpp"

namespace platform::x11 {

bool WindowPlaces::Add(const WindowPlace& place) {
  if (count == kMaxWindowPlaces) return false;
  places[count++] = place;
  return true;
}

const WindowPlace* WindowPlaces::Of(std::uint32_t window) const {
  for (int i = 0; i < count; ++i)
    if (places[i].window == window) return &places[i];
  return nullptr;
}

std::vector<WindowPlace> PlanWindowMoves(const WindowPlaces& recorded, const WindowPlaces& now) {
  std::vector<WindowPlace> moves;
  for (int i = 0; i < recorded.count; ++i) {
    const WindowPlace& then = recorded.places[i];
    const WindowPlace* current = now.Of(then.window);
    if (current && (current->x != then.x || current->y != then.y)) moves.push_back(then);
  }
  return moves;
}

}  // namespace platform::x11
