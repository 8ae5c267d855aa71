#include "platform/display_mode.hpp"

#include "platform/sdl/state.hpp"

namespace platform {

// Only where the desktop policy switches: Xwayland would just scale the
// picture, and with any other SDL video driver nothing of the scene shows
// on the X display.
bool SwitchDisplayMode(std::uint32_t width, std::uint32_t height, std::uint32_t) {
  PlatformState& state = State();
  return state.policy.switchesMode && state.display.Switch(width, height);
}

void RestoreDisplayMode() { State().display.Restore(); }

}  // namespace platform
