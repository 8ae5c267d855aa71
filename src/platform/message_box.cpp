#include "platform/message_box.hpp"

#include <SDL.h>
#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>

#include "platform/desktop_path.hpp"
#include "platform/events.hpp"
#include "platform/window_internal.hpp"

// SDL shows a box from a process of its own: on X11 a forked child that
// draws it, on Wayland a dialog program it starts. The parent waits for that
// child and retries the wait when a signal interrupts it, so a termination
// signal can only end the box by ending the child. The child's id is learnt
// at the fork: it sends it to the program through a pipe.

namespace platform {
namespace {
struct BoxProcessState {
  int idPipe[2] = {-1, -1};  // open only while a box is being shown
  // Read by the signal handler: a lock-free atomic is safe there.
  std::atomic<pid_t> process{0};
};
BoxProcessState g_shownBox;

void SendOwnId() {
  if (g_shownBox.idPipe[1] < 0) return;
  const pid_t self = getpid();
  if (write(g_shownBox.idPipe[1], &self, sizeof self) != sizeof self) _exit(1);
  close(g_shownBox.idPipe[1]);
  close(g_shownBox.idPipe[0]);
  g_shownBox.idPipe[0] = g_shownBox.idPipe[1] = -1;
}

// In the program, right after the fork: the child's id, then no more ids.
void TakeChildId() {
  if (g_shownBox.idPipe[1] < 0) return;
  close(g_shownBox.idPipe[1]);
  g_shownBox.idPipe[1] = -1;
  pid_t child = 0;
  ssize_t got;
  do {
    got = read(g_shownBox.idPipe[0], &child, sizeof child);
  } while (got < 0 && errno == EINTR);
  if (got != sizeof child) return;
  g_shownBox.process = child;
  if (TerminationRequested()) kill(child, SIGKILL);
}

bool LearnBoxProcessAtFork() {
  static const bool registered = pthread_atfork(nullptr, TakeChildId, SendOwnId) == 0;
  return registered && pipe2(g_shownBox.idPipe, O_CLOEXEC) == 0;
}

void ForgetBoxProcess() {
  g_shownBox.process = 0;
  for (int& end : g_shownBox.idPipe) {
    if (end >= 0) close(end);
    end = -1;
  }
}

// True only when the box was shown and answered. SDL's Wayland boxes go
// through a dialog program whose failures SDL may report as success: those
// are shown but never counted as answered. Other drivers (off screen) and
// boxes without an owner window have no certain place to show a box.
bool ShowAndWait(Window* owner, const char* text, const char* caption) {
  if (!owner || !owner->sdl) return false;
  const bool x11 = DesktopIsX11();
  if (!x11 && CurrentDesktopPath() != DesktopPath::NativeWayland) return false;
  // Without a box process that can be ended, a box could hold the program.
  if (!LearnBoxProcessAtFork()) return false;
  const bool answered = SDL_ShowSimpleMessageBox(0, caption, text, owner->sdl) == 0;
  ForgetBoxProcess();
  return answered && x11 && !TerminationRequested();
}
}  // namespace

void ShowMessageBox(Window* owner, const char* text, const char* caption) {
  if (TerminationRequested() || !ShowAndWait(owner, text, caption))
    std::fprintf(stderr, "%s: %s\n", caption, text);
}

void CloseMessageBoxOnSignal() {
  const pid_t box = g_shownBox.process;
  if (box > 0) kill(box, SIGKILL);
}

}  // namespace platform
