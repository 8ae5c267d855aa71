// A window another program made and handed over (a screensaver's), or the
// root window, watched on the program's own connection (x11/server.hpp):
// its size as it changes, and its end, neither of which SDL follows. Does
// not map, move, resize or destroy it: the window stays its owner's.
#pragma once

#include <string>

struct _XDisplay;

namespace platform::x11 {

class HandedWindow {
 public:
  // Window `id` (0: the root window) on `display` (not owned); false, with
  // `error`, where there is neither.
  bool Open(_XDisplay* display, unsigned long id, std::string& error);
  unsigned long Id() const { return m_id; }
  int Width() const { return m_width; }
  int Height() const { return m_height; }

  // Reads, without waiting, what happened to the window: true when its
  // size changed since the last call.
  bool Resized();
  // True once, for the call after the window was destroyed.
  bool TakeGone();

  // Before SDL is handed the window: notes whether it carries XdndAware;
  // after: takes off the mark SDL added, with `sdlDisplay` synchronised
  // first so that the mark is there to take.
  void NoteDragAndDropMark();
  void RemoveAddedDragAndDropMark(_XDisplay* sdlDisplay);

 private:
  _XDisplay* m_display = nullptr;
  unsigned long m_id = 0;
  int m_width = 0;
  int m_height = 0;
  bool m_gone = false;
  bool m_goneTold = false;
  bool m_hadDragAndDropMark = false;
};

}  // namespace platform::x11
