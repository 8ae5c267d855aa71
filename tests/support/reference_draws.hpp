// The scene's random generator written out independently, from state 1,
// so the expectations of the snowfall tests do not lean on the code under
// test.
#pragma once

#include <cstdint>

class ReferenceDraws {
 public:
  int Next() {
    m_state = m_state * 214013u + 2531011u;
    return static_cast<int>((m_state >> 16) & 0x7FFF);
  }
  template <int N>
  void Fill(int (&draws)[N]) {
    for (int& draw : draws) draw = Next();
  }

 private:
  std::uint32_t m_state = 1;
};
