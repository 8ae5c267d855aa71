// A clock source the test drives by hand.
#pragma once

#include <cstdint>
#include <deque>

#include "framework/clock_source.hpp"

class ScriptedClock : public ClockSource {
 public:
  // hasCounter: whether the high-resolution counter exists.
  ScriptedClock(bool hasCounter, std::int64_t frequency)
      : m_hasCounter(hasCounter), m_frequency(frequency) {}

  bool QueryFrequency(std::int64_t& countsPerSecond) override {
    countsPerSecond = m_hasCounter ? m_frequency : 0;
    return m_hasCounter;
  }
  bool QueryCounter(std::int64_t& count) override {
    count = Next();
    return true;
  }
  std::uint32_t MilliCount() override { return static_cast<std::uint32_t>(Next()); }

  // The value every read returns from now on.
  void Set(std::int64_t value) {
    m_queued.clear();
    m_value = value;
  }
  // Values the next reads return, in order, before falling back to Set's.
  void Queue(std::int64_t value) { m_queued.push_back(value); }
  int reads = 0;

 private:
  std::int64_t Next() {
    ++reads;
    if (m_queued.empty()) return m_value;
    m_value = m_queued.front();
    m_queued.pop_front();
    return m_value;
  }

  bool m_hasCounter;
  std::int64_t m_frequency;
  std::int64_t m_value = 0;
  std::deque<std::int64_t> m_queued;
};
