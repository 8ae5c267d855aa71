// Escape's changes, down and up, as the event loop reports them, read where
// the desktop policy says.
//
// Does:
//  - see every press as SDL queues it, from the moment video is up, so a
//    press made while the first frames are prepared still counts, and one
//    released before the next report is reported down and then up
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
  // True when Escape went down (`down` true) or came up since the last
  // change reported; a press seen since then counts even if it is over.
  bool TakeEscapeChange(bool& down);

 private:
  static int Watch(void* self, SDL_Event* event);
  bool EscapeIsDown() const;

  bool m_started = false;
  x11::KeyState* m_server = nullptr;
  bool m_escapePressed = false;  // seen since the last change reported
  bool m_reportedDown = false;
};

}  // namespace platform
