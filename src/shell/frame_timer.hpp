// The program's clock: a millisecond stopwatch started once, when the scene
// window is created.
#pragma once

#include <cstdint>

#include "framework/clock_source.hpp"

class CFrameTimer {
 public:
  explicit CFrameTimer(ClockSource& source = SystemClock());
  virtual ~CFrameTimer();

  // Chooses the source (the high-resolution counter when there is one) and
  // records the start count.
  void Start();
  // Milliseconds since Start, in double precision.
  double GetTime();

 private:
  std::int64_t Count();

  std::int64_t m_frequency = 0;
  std::int64_t m_startCount = 0;
  float m_secondsPerCount = 0.0f;
  bool m_usesPerformanceCounter = false;
  ClockSource* m_source;
};

// The clock part of a frame: reads the clock until the reading differs from
// the stored last time (compared unrounded, in double precision), stores the
// reading rounded to float as the new last time and returns the frame delta
// (the unrounded difference, rounded to float). Never 0; may be tiny and of
// either sign, since the stored last time is rounded.
float WaitForNextFrame(CFrameTimer& clock, float& lastTime);
