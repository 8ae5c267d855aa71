// The frame timer's clock sources, in the shape it counts with: a
// high-resolution counter with its frequency (which a machine may lack)
// and a 32-bit millisecond count. The system's one is the standard
// library's steady clock; tests and tools bring their own.
#pragma once

#include <cstdint>

class ClockSource {
 public:
  virtual ~ClockSource() = default;
  // Counts per second; false when there is no high-resolution counter.
  virtual bool QueryFrequency(std::int64_t& countsPerSecond) = 0;
  virtual bool QueryCounter(std::int64_t& count) = 0;
  // Milliseconds since an arbitrary start, wrapping every 2^32 ms.
  virtual std::uint32_t MilliCount() = 0;
};

// The machine's monotonic clock: a nanosecond counter (Linux always has
// it), and its milliseconds.
ClockSource& SystemClock();
