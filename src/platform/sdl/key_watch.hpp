// Escape's changes, down and up, as the event loop reports them, read where
// the desktop policy says.
//
// Does:
//  - see every press as SDL queues it, from the moment video is up, so a
//    press made while the first frames are prepared still counts, and one
//    released before the next report is reported down and then up
//  - ask the X server for its key map once per frame (a round trip), not at
//    every drain of the events: its answer holds until the next Present
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
  // A frame was shown: the next change taken reads the X server again.
  void NewFrame() { m_serverRead = false; }

 private:
  static int Watch(void* self, SDL_Event* event);
  bool EscapeIsDown();

  bool m_started = false;
  x11::KeyState* m_server = nullptr;
  bool m_serverRead = false;  // since the last frame, with this answer:
  bool m_serverDown = false;
  bool m_escapePressed = false;  // seen since the last change reported
  bool m_reportedDown = false;
};

}  // namespace platform
