#include "saver/frame_pacer.hpp"

#include <algorithm>
#include <thread>

namespace {
// The longest single sleep: how late a request to stop waiting is seen.
constexpr std::chrono::milliseconds kSlice{20};
}  // namespace

FramePacer::FramePacer(double refreshesPerSecond, std::chrono::microseconds rest,
                       std::function<bool()> stopWaiting)
    : m_period(refreshesPerSecond > 0 ? std::chrono::duration_cast<Clock::duration>(
                                            std::chrono::duration<double>(1.0 / refreshesPerSecond))
                                      : Clock::duration::zero()),
      m_rest(rest),
      m_stopWaiting(std::move(stopWaiting)) {}

void FramePacer::AfterFrame() {
  const Clock::time_point due = std::max(Clock::now() + m_rest, m_previousFrame + m_period);
  for (Clock::time_point now = Clock::now(); now < due; now = Clock::now()) {
    if (m_stopWaiting && m_stopWaiting()) break;
    std::this_thread::sleep_until(std::min<Clock::time_point>(due, now + kSlice));
  }
  m_previousFrame = Clock::now();
}
