// The seat's keyboard, pointer and touch, watched for the first sign of a
// user: a key pressed, the pointer moved, a touch.
#pragma once

#include <wayland-client.h>

namespace platform::wayland {

class SeatInput {
 public:
  // Binds the seat global `name`, unless one is watched already.
  void Bind(wl_registry* registry, uint32_t name, uint32_t version);
  void Release();
  bool Came() const { return m_came; }

 private:
  static const wl_seat_listener kSeatListener;
  static const wl_keyboard_listener kKeyboardListener;
  static const wl_pointer_listener kPointerListener;
  static const wl_touch_listener kTouchListener;
  struct Sign;
  void Capabilities(uint32_t capabilities);

  wl_seat* m_seat = nullptr;
  wl_keyboard* m_keyboard = nullptr;
  wl_pointer* m_pointer = nullptr;
  wl_touch* m_touch = nullptr;
  bool m_came = false;
};

}  // namespace platform::wayland
