// The children the program forks: their process ids learnt where the fork
// happens inside a library call. Nothing here waits for or reaps them.
#pragma once

#include <sys/types.h>

namespace platform::posix {

// Has every child the program forks killed when the program ends.
void BindChildrenToProgram();

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
