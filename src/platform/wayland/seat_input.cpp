#include "platform/wayland/seat_input.hpp"

#include <unistd.h>

namespace platform::wayland {
namespace {
SeatInput* Of(void* data) { return static_cast<SeatInput*>(data); }
}  // namespace

const wl_seat_listener SeatInput::kSeatListener = {
    .capabilities = [](void* data, wl_seat*, uint32_t capabilities) { Of(data)->Capabilities(capabilities); },
    .name = [](void*, wl_seat*, const char*) {},
};

// Keys already held when the surface takes the keyboard are no new key.
const wl_keyboard_listener SeatInput::kKeyboardListener = {
    .keymap = [](void*, wl_keyboard*, uint32_t, int32_t fd, uint32_t) { close(fd); },
    .enter = [](void*, wl_keyboard*, uint32_t, wl_surface*, wl_array*) {},
    .leave = [](void*, wl_keyboard*, uint32_t, wl_surface*) {},
    .key = [](void* data, wl_keyboard*, uint32_t, uint32_t, uint32_t, uint32_t state) {
      if (state == WL_KEYBOARD_KEY_STATE_PRESSED) Of(data)->m_came = true;
    },
    .modifiers = [](void*, wl_keyboard*, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t) {},
    .repeat_info = [](void*, wl_keyboard*, int32_t, int32_t) {},
};

// The pointer entering the new surface is no motion; motion after it is.
const wl_pointer_listener SeatInput::kPointerListener = {
    .enter = [](void*, wl_pointer*, uint32_t, wl_surface*, wl_fixed_t, wl_fixed_t) {},
    .leave = [](void*, wl_pointer*, uint32_t, wl_surface*) {},
    .motion = [](void* data, wl_pointer*, uint32_t, wl_fixed_t, wl_fixed_t) { Of(data)->m_came = true; },
    .button = [](void* data, wl_pointer*, uint32_t, uint32_t, uint32_t, uint32_t) { Of(data)->m_came = true; },
    .axis = [](void* data, wl_pointer*, uint32_t, uint32_t, wl_fixed_t) { Of(data)->m_came = true; },
    .frame = [](void*, wl_pointer*) {},
    .axis_source = [](void*, wl_pointer*, uint32_t) {},
    .axis_stop = [](void*, wl_pointer*, uint32_t, uint32_t) {},
    .axis_discrete = [](void*, wl_pointer*, uint32_t, int32_t) {},
    .axis_value120 = [](void*, wl_pointer*, uint32_t, int32_t) {},
};

const wl_touch_listener SeatInput::kTouchListener = {
    .down = [](void* data, wl_touch*, uint32_t, uint32_t, wl_surface*, int32_t, wl_fixed_t, wl_fixed_t) {
      Of(data)->m_came = true;
    },
    .up = [](void*, wl_touch*, uint32_t, uint32_t, int32_t) {},
    .motion = [](void*, wl_touch*, uint32_t, int32_t, wl_fixed_t, wl_fixed_t) {},
    .frame = [](void*, wl_touch*) {},
    .cancel = [](void*, wl_touch*) {},
    .shape = [](void*, wl_touch*, int32_t, wl_fixed_t, wl_fixed_t) {},
    .orientation = [](void*, wl_touch*, int32_t, wl_fixed_t) {},
};

void SeatInput::Bind(wl_seat* seat) {
  if (m_seat) {  // one seat is watched
    wl_seat_destroy(seat);
    return;
  }
  m_seat = seat;
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
  *this = SeatInput{};
}

}  // namespace platform::wayland
