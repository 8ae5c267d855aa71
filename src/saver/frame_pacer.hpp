// The saver's frames, paced as XScreenSaver paces its hacks: after each
// frame a rest of the -delay, so that the scene costs a screensaver's share
// of the processor. Never more than one frame per display refresh either:
// where the driver's buffer swap waits for the refresh itself (swap
// interval 1) the swap has taken that time; where it returns at once
// (software rendering, a driver without swap control) the wait is here.
#pragma once

#include <chrono>
#include <functional>

class FramePacer {
 public:
  using Clock = std::chrono::steady_clock;

  // 0 refreshes per second: no refresh to wait for. The wait ends early,
  // within a few tens of milliseconds, once `stopWaiting` says so (the
  // screensaver asked the saver to end during a long rest).
  FramePacer(double refreshesPerSecond, std::chrono::microseconds rest,
             std::function<bool()> stopWaiting);

  // After each frame's swap: rests, and waits until at least one refresh
  // period has passed since the previous frame ended.
  void AfterFrame();

 private:
  Clock::duration m_period;
  Clock::duration m_rest;
  std::function<bool()> m_stopWaiting;
  Clock::time_point m_previousFrame{};
};
