#include "platform/process.hpp"

#include <X11/Xlib.h>
#include <fcntl.h>
#include <pthread.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>

namespace platform {
namespace {
struct ProcessState {
  bool bound = false;
  bool unbound = false;  // the child's copy tells it whether it is exempt
  pid_t forker = 0;      // the process forking right now
  pid_t program = 0;     // the one process that reports a lost connection
};
ProcessState g_process;

void NoteForker() { g_process.forker = getpid(); }

// Runs in every new child: the kernel kills it when the thread that forked
// it ends. A parent that died during the fork is caught too.
void BindToParent() {
  if (g_process.unbound) return;
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (getppid() != g_process.forker) _exit(1);
}

// Xlib ends the program itself should this return; no other call on the
// lost connection may run, so the end is immediate. A box's child process
// that loses its own connection leaves the saying to the program.
int OnLostDisplayConnection(Display*) {
  if (getpid() == g_process.program)
    std::fputs("winterhain: lost the connection to the X server\n", stderr);
  _exit(1);
}
}  // namespace

void HoldStandardStreams() {
  for (int stream = 0; stream <= 2; ++stream) {
    if (fcntl(stream, F_GETFD) != -1) continue;
    // The lowest free descriptor is this one, since the lower ones are open.
    const int held = open("/dev/null", O_RDWR);
    if (held > 2) close(held);
  }
}

void BindChildrenToProgram() {
  if (g_process.bound) return;
  g_process.bound = pthread_atfork(NoteForker, nullptr, BindToParent) == 0;
}

void EndOnLostDisplayConnection() {
  g_process.program = getpid();
  XSetIOErrorHandler(OnLostDisplayConnection);
}

UnboundForks::UnboundForks() { g_process.unbound = true; }
UnboundForks::~UnboundForks() { g_process.unbound = false; }

}  // namespace platform
