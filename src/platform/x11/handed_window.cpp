#include "platform/x11/handed_window.hpp"

#include <X11/Xlib.h>

#include <cstdio>
#include <utility>

#include "platform/x11/x_errors.hpp"

namespace platform::x11 {
namespace {
bool HasProperty(Display* display, Window window, Atom property) {
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  const int status = XGetWindowProperty(display, window, property, 0, 1, False, AnyPropertyType,
                                        &type, &format, &count, &after, &data);
  if (data) XFree(data);
  return status == Success && type != None;
}
}  // namespace

bool HandedWindow::Open(_XDisplay* display, unsigned long id, std::string& error) {
  m_display = display;
  if (!m_display) {
    error = "cannot reach the X display to draw into a window there";
    return false;
  }
  m_id = id ? id : DefaultRootWindow(m_display);
  // Selected before the size is read, so no change after the reading is missed.
  XSelectInput(m_display, m_id, StructureNotifyMask);
  ::Window root = None;
  int x = 0, y = 0;
  unsigned width = 0, height = 0, border = 0, depth = 0;
  const bool read = XGetGeometry(m_display, m_id, &root, &x, &y, &width, &height, &border, &depth);
  m_width = static_cast<int>(width);
  m_height = static_cast<int>(height);
  if (!RequestsFailed(m_display) && read) return true;
  char hex[24];
  std::snprintf(hex, sizeof hex, "0x%lx", m_id);
  error = std::string("there is no window ") + hex + " on this display";
  m_gone = true;
  return false;
}

bool HandedWindow::Resized() {
  if (!m_display || m_gone) return false;
  const int width = m_width, height = m_height;
  while (XPending(m_display)) {
    XEvent event;
    XNextEvent(m_display, &event);
    if (event.type == DestroyNotify && event.xdestroywindow.window == m_id) {
      m_gone = true;
    } else if (event.type == ConfigureNotify && event.xconfigure.window == m_id) {
      m_width = event.xconfigure.width;
      m_height = event.xconfigure.height;
    }
  }
  return !m_gone && (width != m_width || height != m_height);
}

bool HandedWindow::TakeGone() { return m_gone && !std::exchange(m_goneTold, true); }

void HandedWindow::NoteDragAndDropMark() {
  if (m_display)
    m_hadDragAndDropMark = HasProperty(m_display, m_id, XInternAtom(m_display, "XdndAware", False));
}

void HandedWindow::RemoveAddedDragAndDropMark(_XDisplay* sdlDisplay) {
  if (!m_display || m_hadDragAndDropMark) return;
  if (sdlDisplay) XSync(sdlDisplay, False);
  XDeleteProperty(m_display, m_id, XInternAtom(m_display, "XdndAware", False));
  RequestsFailed(m_display);  // a window gone meanwhile: noted, not fatal
}

}  // namespace platform::x11
