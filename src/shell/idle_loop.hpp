// The frame loop: one message at a time while messages wait, one frame
// whenever the queue is empty.
#pragma once

#include "framework/message_queue.hpp"

// `pump` handles one message and returns FALSE on WM_QUIT; `frame` renders
// one frame. Returns when the pump has seen WM_QUIT.
template <class Pump, class Frame>
void RunIdleLoop(Pump pump, Frame frame) {
  MSG peeked;
  for (;;) {
    if (PeekMessage(&peeked, nullptr, 0, 0, PM_NOREMOVE)) {
      if (!pump()) return;
    } else {
      frame();
    }
  }
}
