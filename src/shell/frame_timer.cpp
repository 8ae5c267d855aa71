#include "shell/frame_timer.hpp"

CFrameTimer::CFrameTimer(ClockSource& source) : m_source(&source) {}

CFrameTimer::~CFrameTimer() = default;

void CFrameTimer::Start() {
  if (m_source->QueryFrequency(m_frequency)) {
    m_usesPerformanceCounter = true;
    m_source->QueryCounter(m_startCount);
    m_secondsPerCount = static_cast<float>(1.0 / static_cast<double>(m_frequency));
  } else {
    m_usesPerformanceCounter = false;
    m_startCount = static_cast<std::int64_t>(m_source->MilliCount());
    m_frequency = 1000;
    m_secondsPerCount = static_cast<float>(1.0 / 1000);
  }
}

std::int64_t CFrameTimer::Count() {
  if (m_usesPerformanceCounter) {
    std::int64_t count = 0;
    m_source->QueryCounter(count);
    // Two's-complement difference, as the counter's wrap would give it.
    return static_cast<std::int64_t>(static_cast<std::uint64_t>(count) -
                                     static_cast<std::uint64_t>(m_startCount));
  }
  // The millisecond count wraps every 2^32 ms; the difference taken modulo
  // 2^32 keeps time running forward across a wrap.
  return static_cast<std::uint32_t>(m_source->MilliCount() -
                                    static_cast<std::uint32_t>(m_startCount));
}

double CFrameTimer::GetTime() {
  const std::int64_t elapsed = Count();
  return (static_cast<double>(elapsed) * static_cast<double>(m_secondsPerCount)) * 1000.0;
}

float WaitForNextFrame(CFrameTimer& clock, float& lastTime) {
  double now = clock.GetTime();
  while (now == static_cast<double>(lastTime)) now = clock.GetTime();  // busy wait
  const float frameDelta = static_cast<float>(now - static_cast<double>(lastTime));
  lastTime = static_cast<float>(now);
  return frameDelta;
}
