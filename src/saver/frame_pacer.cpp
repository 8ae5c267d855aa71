#include "saver/frame_pacer.hpp"

#include <thread>

FramePacer::FramePacer(double refreshesPerSecond)
    : m_period(refreshesPerSecond > 0 ? std::chrono::duration_cast<Clock::duration>(
                                            std::chrono::duration<double>(1.0 / refreshesPerSecond))
                                      : Clock::duration::zero()) {}

void FramePacer::AfterFrame() {
  if (m_period == Clock::duration::zero()) return;
  const Clock::time_point due = m_previousFrame + m_period;
  if (Clock::now() < due) std::this_thread::sleep_until(due);
  m_previousFrame = Clock::now();
}
