#include "platform/wayland/seat_input.hpp"

#include <unistd.h>

#include <algorithm>

#include "platform/wayland/ignored_events.hpp"

namespace platform::wayland {

// Stands for the handler of an event that is itself a sign of a user.
struct SeatInput::Sign {
  template <class... Args>
  operator Handler<void*, Args...>() const {
    return [](void* data, Args...) { static_cast<SeatInput*>(data)->m_came = true; };
  }
};

const wl_seat_listener SeatInput::kSeatListener = {
    .capabilities = [](void* data, wl_seat*, uint32_t capabilities) {
      static_cast<SeatInput*>(data)->Capabilities(capabilities);
    },
    .name = kIgnored,
};

// Keys already held when the surface takes the keyboard are no new key.
const wl_keyboard_listener SeatInput::kKeyboardListener = {
    .keymap = [](void*, wl_keyboard*, uint32_t, int32_t fd, uint32_t) { close(fd); },
    .enter = kIgnored, .leave = kIgnored,
    .key = [](void* data, wl_keyboard*, uint32_t, uint32_t, uint32_t, uint32_t state) {
      if (state == WL_KEYBOARD_KEY_STATE_PRESSED) static_cast<SeatInput*>(data)->m_came = true;
    },
    .modifiers = kIgnored, .repeat_info = kIgnored,
};

// The pointer entering the new surface is no motion; motion after it is.
const wl_pointer_listener SeatInput::kPointerListener = {
    .enter = kIgnored, .leave = kIgnored, .motion = Sign{}, .button = Sign{}, .axis = Sign{},
    .frame = kIgnored, .axis_source = kIgnored, .axis_stop = kIgnored,
    .axis_discrete = kIgnored, .axis_value120 = kIgnored,
};

const wl_touch_listener SeatInput::kTouchListener = {
    .down = Sign{}, .up = kIgnored, .motion = kIgnored, .frame = kIgnored, .cancel = kIgnored,
    .shape = kIgnored, .orientation = kIgnored,
};

void SeatInput::Bind(wl_registry* registry, uint32_t name, uint32_t version) {
  if (m_seat) return;  // one seat is watched
  m_seat = static_cast<wl_seat*>(
      wl_registry_bind(registry, name, &wl_seat_interface, std::min(version, 5u)));
  wl_seat_add_listener(m_seat, &kSeatListener, this);
}

void SeatInput::Capabilities(uint32_t capabilities) {
  if ((capabilities & WL_SEAT_CAPABILITY_KEYBOARD) && !m_keyboard) {
    m_keyboard = wl_seat_get_keyboard(m_seat);
    wl_keyboard_add_listener(m_keyboard, &kKeyboardListener, this);
  }
  if ((capabilities & WL_SEAT_CAPABILITY_POINTER) && !m_pointer) {
    m_pointer = wl_seat_get_pointer(m_seat);
    wl_pointer_add_listener(m_pointer, &kPointerListener, this);
  }
  if ((capabilities & WL_SEAT_CAPABILITY_TOUCH) && !m_touch) {
    m_touch = wl_seat_get_touch(m_seat);
    wl_touch_add_listener(m_touch, &kTouchListener, this);
  }
}

void SeatInput::Release() {
  if (m_keyboard) wl_keyboard_destroy(m_keyboard);
  if (m_pointer) wl_pointer_destroy(m_pointer);
  if (m_touch) wl_touch_destroy(m_touch);
  if (m_seat) wl_seat_destroy(m_seat);
}

}  // namespace platform::wayland
