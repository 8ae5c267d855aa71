#include "platform/display_guardian.hpp"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>

namespace platform {
namespace {
int g_pipe = -1;  // the program's end of the socket pair

// The guard's life: wait for news until the program is gone, then act.
[[noreturn]] void Guard(int readFd, const std::function<void()>& restore) {
  // Terminal signals meant for the program must not end its guard, and the
  // guard must not keep any of the program's files (its display connection
  // above all) open.
  for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGTSTP}) std::signal(signal, SIG_IGN);
  dup2(readFd, 3);
  close_range(4, ~0u, 0);
  const int devNull = open("/dev/null", O_RDWR);
  dup2(devNull, 0);
  dup2(devNull, 1);
  bool switched = false;
  char news = 0;
  ssize_t got = 0;
  while ((got = read(3, &news, 1)) != 0) {
    if (got == 1) switched = news == 'S';
  }
  if (switched) {
    restore();
    std::fprintf(stderr, "winterhain: the program ended without restoring the display; restored\n");
  }
  _exit(0);
}
}  // namespace

bool StartDisplayGuardian(std::function<void()> restore) {
  if (g_pipe >= 0) return true;
  int fds[2];
  // A socket pair rather than a pipe: sending to a guard that is gone must
  // not raise SIGPIPE in the program.
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0) return false;
  const pid_t pid = fork();
  if (pid < 0) {
    close(fds[0]);
    close(fds[1]);
    return false;
  }
  if (pid == 0) {
    // A grandchild does the guarding, so the program never has to reap it.
    if (fork() == 0) Guard(fds[0], restore);
    _exit(0);
  }
  waitpid(pid, nullptr, 0);
  close(fds[0]);
  g_pipe = fds[1];
  return true;
}

void TellDisplayGuardian(bool switched) {
  if (g_pipe < 0) return;
  const char news = switched ? 'S' : 'R';
  ssize_t written;
  do {
    written = send(g_pipe, &news, 1, MSG_NOSIGNAL);
  } while (written < 0 && errno == EINTR);
}

}  // namespace platform
