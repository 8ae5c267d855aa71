// Wayland listeners name a handler for every event their version sends;
// kIgnored stands for one of any signature that has nothing to do.
#pragma once

namespace platform::wayland {

template <class... Args>
using Handler = void (*)(Args...);

struct Ignored {
  template <class... Args>
  constexpr operator Handler<Args...>() const { return [](Args...) {}; }
};
inline constexpr Ignored kIgnored;

}  // namespace platform::wayland
