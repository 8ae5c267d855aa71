// The measured frame rate, as XScreenSaver's hacks show it with -fps: the
// frames of the last whole second or so, renewed about once a second.
#pragma once

#include <chrono>

class FrameRateMeter {
 public:
  using Clock = std::chrono::steady_clock;

  // One frame was shown at `now`.
  void Frame(Clock::time_point now);
  // Frames per second over the last span of at least a second; negative
  // until the first such span is over.
  double Rate() const { return m_rate; }

 private:
  Clock::time_point m_spanStart{};
  int m_frames = 0;  // since m_spanStart
  bool m_started = false;
  double m_rate = -1;
};
