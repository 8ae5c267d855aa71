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
  // On time, the next frame is due one period after this one was; a frame
  // later than that starts the count afresh.
  const Clock::time_point now = Clock::now();
  m_previousFrame = now - due < m_period ? due : now;
}
