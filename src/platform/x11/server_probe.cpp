#include "platform/x11/server_probe.hpp"

#include <X11/Xlib.h>

namespace platform::x11 {

ServerProbe::ServerProbe(bool ask) : m_display(ask ? XOpenDisplay(nullptr) : nullptr) {
  int opcode = 0, event = 0, error = 0;
  m_randr = m_display && XQueryExtension(m_display, "RANDR", &opcode, &event, &error);
  m_firstScreen = !m_display || DefaultScreen(m_display) == 0;
}

ServerProbe::~ServerProbe() {
  if (m_display) XCloseDisplay(m_display);
}

}  // namespace platform::x11
