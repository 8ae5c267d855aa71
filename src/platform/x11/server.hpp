// The program's own connection to the X server in DISPLAY, beside SDL's,
// for the whole run: the host is asked on it what it is, the X key state
// and a handed-over window are read on it, and the display switched. Open
// before SDL connects: a server whose last client leaves resets and
// refuses connections meanwhile (Xvfb, Xorg without -noreset).
#pragma once

struct _XDisplay;

namespace platform::x11 {

class Server {
 public:
  Server() = default;
  ~Server();
  Server(const Server&) = delete;
  Server& operator=(const Server&) = delete;

  // False where DISPLAY names no server that accepts us.
  bool Open();
  // Opens, and points DISPLAY at the screen of `window` where that is
  // another (":0" given a window of screen 1 becomes ":0.1"), so that every
  // later connection opens there. Call before video starts.
  void AimAtScreenOf(unsigned long window);
  _XDisplay* Display() const { return m_display; }  // null until opened
  bool HasRandr() const;
  // Xwayland announces itself with an extension of its own, older ones
  // only by their RandR outputs' names.
  bool IsXwayland() const;
  // DISPLAY names the first of its screens (":0", ":0.0"): the screen SDL's
  // RandR displays begin with, whichever screen DISPLAY names.
  bool OnFirstScreen() const;

 private:
  _XDisplay* m_display = nullptr;
  int m_screen = 0;  // the screen DISPLAY names
};

}  // namespace platform::x11
