#include "saver/frame_rate_meter.hpp"

void FrameRateMeter::Frame(Clock::time_point now) {
  if (!m_started) {
    m_started = true;
    m_spanStart = now;
    return;
  }
  ++m_frames;
  const std::chrono::duration<double> span = now - m_spanStart;
  if (span.count() < 1.0) return;
  m_rate = m_frames / span.count();
  m_frames = 0;
  m_spanStart = now;
}
