// Escape as the frame loop polls it: down now, or pressed since the last
// poll, read where the desktop policy says.
//
// Does:
//  - see every press as SDL queues it, from the moment video is up, so a
//    press made while the first frames are prepared still counts
// Does not:
//  - any key but Escape
#pragma once

union SDL_Event;

namespace platform {

namespace x11 {
class KeyState;
}

class KeyWatch {
 public:
  KeyWatch() = default;
  ~KeyWatch();
  KeyWatch(const KeyWatch&) = delete;
  KeyWatch& operator=(const KeyWatch&) = delete;

  // `server` is the X server's key state, or nullptr where Escape is read
  // from SDL's keyboard state.
  void Start(x11::KeyState* server);
  bool EscapeIsDown() const;
  // True once for each press since the last call.
  bool TakeEscapePress();

 private:
  static int Watch(void* self, SDL_Event* event);

  bool m_started = false;
  x11::KeyState* m_server = nullptr;
  bool m_escapePressed = false;
};

}  // namespace platform
