// One frame per display refresh. Where the driver's buffer swap waits for
// the refresh itself (swap interval 1), the swap has taken that time and
// nothing is left to wait; where it returns at once (software rendering,
// a driver without swap control), the wait here keeps the loop from
// drawing frames no one sees and from keeping a processor core busy.
#pragma once

#include <chrono>

class FramePacer {
 public:
  using Clock = std::chrono::steady_clock;

  // 0 refreshes per second: no waiting at all.
  explicit FramePacer(double refreshesPerSecond);

  // After each frame's swap: waits until one refresh period has passed
  // since the previous frame was due. A frame late by a period or more does
  // not wait, and the time lost is not made up.
  void AfterFrame();

 private:
  Clock::duration m_period;
  Clock::time_point m_previousFrame{};
};
