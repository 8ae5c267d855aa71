// A window another program made and handed over (a screensaver's), or the
// root window, watched on the program's own connection (x11/server.hpp): its
// size as it changes, and its end. SDL draws into such a window but follows
// neither. The window stays its owner's: nothing here maps, moves, resizes
// or destroys it.
#pragma once

#include <string>

struct _XDisplay;

namespace platform::x11 {

class HandedWindow {
 public:
  // Starts watching window `id` (0: the root window) on `display` (not
  // owned). False, with `error` filled in, where there is no such window on
  // the display or no display.
  bool Open(_XDisplay* display, unsigned long id, std::string& error);
  unsigned long Id() const { return m_id; }
  int Width() const { return m_width; }
  int Height() const { return m_height; }

  // Reads what happened to the window since the last call, without
  // waiting: true when its size changed.
  bool Resized();
  // True once, for the call after the window was destroyed.
  bool TakeGone();

  // Notes whether the window carries a drag-and-drop mark (XdndAware) now,
  // before SDL is handed it; ...
  void NoteDragAndDropMark();
  // ... and takes off a mark SDL has put on since. `sdlDisplay` is SDL's
  // connection, synchronised first so that its mark is there to take.
  void RemoveAddedDragAndDropMark(_XDisplay* sdlDisplay);

 private:
  bool ReadSize();

  _XDisplay* m_display = nullptr;
  unsigned long m_id = 0;
  int m_width = 0;
  int m_height = 0;
  bool m_gone = false;
  bool m_goneTold = false;
  bool m_hadDragAndDropMark = false;
};

}  // namespace platform::x11
