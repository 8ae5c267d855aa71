#include "platform/posix/children.hpp"

#include <fcntl.h>
#include <pthread.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "platform/posix/signals.hpp"

namespace platform {
namespace {
// What the fork handlers need: they take no argument, so this is the
// process's one record of its forks. It holds for the whole process.
struct ForkState {
  bool handlersRegistered = false;
  bool bound = false;      // children die with the thread that forked them
  pid_t forker = 0;        // the process forking right now
  int idPipe[2] = {-1, -1};  // open while a ForkWatch lives
  void (*endInPlace)() = nullptr;  // the ForkWatch's, for a fork that failed
};
ForkState g_forks;

// In the program, right after the fork: the watched child's id, once. No
// id (the end of the pipe, as no child holds it) means the fork failed.
void TakeChildId() {
  if (g_forks.idPipe[1] < 0) return;
  close(g_forks.idPipe[1]);
  g_forks.idPipe[1] = -1;
  pid_t child = 0;
  const ssize_t got = TEMP_FAILURE_RETRY(read(g_forks.idPipe[0], &child, sizeof child));
  if (got == sizeof child) posix::EndOnTermination(child);
  if (got == 0) posix::EndInPlaceOnTermination(g_forks.endInPlace);
}

// Runs in every new child. Bound children are killed by the kernel when the
// thread that forked them ends; a parent that died during the fork is
// caught too. A watched child then sends its id.
void InChild() {
  if (g_forks.bound) {
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != g_forks.forker) _exit(1);
  }
  if (g_forks.idPipe[1] < 0) return;
  const pid_t self = getpid();
  if (write(g_forks.idPipe[1], &self, sizeof self) != sizeof self) _exit(1);
  close(g_forks.idPipe[1]);
  close(g_forks.idPipe[0]);
  g_forks.idPipe[0] = g_forks.idPipe[1] = -1;
}

bool RegisterForkHandlers() {
  const auto noteForker = [] { g_forks.forker = getpid(); };
  if (!g_forks.handlersRegistered)
    g_forks.handlersRegistered = pthread_atfork(noteForker, TakeChildId, InChild) == 0;
  return g_forks.handlersRegistered;
}
}  // namespace

namespace posix {

void BindChildrenToProgram() { g_forks.bound = RegisterForkHandlers(); }

ForkWatch::ForkWatch(void (*endInPlace)()) {
  g_forks.endInPlace = endInPlace;
  m_ok = RegisterForkHandlers() && g_forks.idPipe[0] < 0 && pipe2(g_forks.idPipe, O_CLOEXEC) == 0;
}

ForkWatch::~ForkWatch() {
  EndOnTermination(0);
  EndInPlaceOnTermination(nullptr);
  if (!m_ok) return;
  for (int& end : g_forks.idPipe) {
    if (end >= 0) close(end);
    end = -1;
  }
}

}  // namespace posix
}  // namespace platform
