// The children the program forks: bound to it, or free to outlive it, and
// their process ids learnt where the fork happens out of our sight.
//
// Does:
//  - let one thread's forks outlive the program (the display guard)
//  - tell the program the id of a child forked inside a library call
// Does not:
//  - wait for or reap children
#pragma once

#include <sys/types.h>

namespace platform::posix {

// While one of these lives, children forked by this thread are left free to
// outlive the program (the display guard must).
class UnboundForks {
 public:
  UnboundForks();
  ~UnboundForks();
  UnboundForks(const UnboundForks&) = delete;
  UnboundForks& operator=(const UnboundForks&) = delete;
};

// While one of these lives, the next child forked (SDL forks its message
// boxes itself) sends its id to the program right after the fork; it is
// handed to EndOnTermination. When that fork fails, `endInPlace` is handed
// to EndInPlaceOnTermination instead. `Ok()` is false when none of it can
// be arranged.
class ForkWatch {
 public:
  explicit ForkWatch(void (*endInPlace)());
  ~ForkWatch();
  ForkWatch(const ForkWatch&) = delete;
  ForkWatch& operator=(const ForkWatch&) = delete;
  bool Ok() const { return m_ok; }

 private:
  bool m_ok = false;
};

}  // namespace platform::posix
