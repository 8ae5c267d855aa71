#include "platform/x11/display_guardian.hpp"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>

#include "platform/posix/children.hpp"

namespace platform::x11 {
namespace {
// Where the guard keeps what it watches.
constexpr int kNewsFd = 3;
constexpr int kProgramFd = 4;  // a pidfd: readable once the program has ended

int OpenProcessHandle(pid_t pid) {
#ifdef SYS_pidfd_open
  return static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
#else
  (void)pid;
  return -1;
#endif
}

// The guard leaves the program's session and process group (a kill aimed at
// the group must not take the guard along), ignores the terminal's signals
// and keeps none of the program's files open (its display connection above
// all) but the two it watches and stderr.
void DetachFromProgram(int newsFd, int programFd) {
  setsid();
  for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGTSTP, SIGPIPE})
    std::signal(signal, SIG_IGN);
  // Moved up first, so that placing them on 3 and 4 overwrites neither.
  const int news = fcntl(newsFd, F_DUPFD, 10);
  const int program = programFd >= 0 ? fcntl(programFd, F_DUPFD, 10) : -1;
  dup2(news, kNewsFd);
  if (program >= 0) dup2(program, kProgramFd);
  close_range(program >= 0 ? kProgramFd + 1 : kNewsFd + 1, ~0u, 0);
  const int devNull = open("/dev/null", O_RDWR);
  dup2(devNull, 0);
  dup2(devNull, 1);
  if (devNull > 2) close(devNull);
}

// Reads the news that has arrived; false once no sender is left.
bool ReadNews(bool& switched) {
  char news[64];
  for (;;) {
    const ssize_t got = recv(kNewsFd, news, sizeof news, MSG_DONTWAIT);
    if (got == 0) return false;
    if (got < 0) return errno == EAGAIN || errno == EINTR;
    switched = news[got - 1] == 'S';
  }
}

bool ProgramGone(pid_t program) { return kill(program, 0) != 0 && errno == ESRCH; }

// Waits until the program has ended, keeping track of the news.
void WatchProgram(pid_t program, bool hasHandle, bool& switched) {
  for (;;) {
    pollfd watched[2] = {{kNewsFd, POLLIN, 0}, {hasHandle ? kProgramFd : -1, POLLIN, 0}};
    // Without a pidfd (an old kernel) the program is looked at ten times a second.
    if (poll(watched, 2, hasHandle ? -1 : 100) < 0 && errno != EINTR) return;
    if (watched[0].revents && !ReadNews(switched)) return;
    if (watched[1].revents || (!hasHandle && ProgramGone(program))) break;
  }
  ReadNews(switched);  // whatever the program said before it ended
}

// A refused restore and a vanished output were said by the restore itself,
// naming the output; here only what it could not say.
void Report(RestoreOutcome outcome) {
  const char* what = nullptr;
  if (outcome == RestoreOutcome::Restored)
    what = "the desktop's mode is restored";
  else if (outcome == RestoreOutcome::NoServer)
    what = "the X server cannot be reached, so the desktop's mode was not put back";
  if (what) std::fprintf(stderr, "winterhain: the program ended with the display switched; %s\n", what);
}

[[noreturn]] void Guard(pid_t program, int newsFd, int programFd,
                        const std::function<RestoreOutcome()>& restore) {
  DetachFromProgram(newsFd, programFd);
  bool switched = false;
  WatchProgram(program, programFd >= 0, switched);
  if (switched) Report(restore());
  _exit(0);
}
}  // namespace

bool DisplayGuardian::Start(std::function<RestoreOutcome()> restore) {
  if (m_news >= 0) return true;
  int fds[2];
  // A socket pair rather than a pipe: sending to a guard that is gone must
  // not raise SIGPIPE in the program.
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0) return false;
  const pid_t program = getpid();
  const int programFd = OpenProcessHandle(program);
  pid_t child = -1;
  {
    posix::UnboundForks unbound;  // the guard must outlive the program
    child = fork();
    if (child == 0) {
      // A grandchild does the guarding, so the program never has to reap it.
      if (fork() == 0) Guard(program, fds[0], programFd, restore);
      _exit(0);
    }
  }
  if (programFd >= 0) close(programFd);
  close(fds[0]);
  if (child < 0) {
    close(fds[1]);
    return false;
  }
  waitpid(child, nullptr, 0);
  m_news = fds[1];
  return true;
}

void DisplayGuardian::Tell(bool switched) {
  if (m_news < 0) return;
  const char news = switched ? 'S' : 'R';
  ssize_t written;
  do {
    written = send(m_news, &news, 1, MSG_NOSIGNAL);
  } while (written < 0 && errno == EINTR);
}

DisplayGuardian::~DisplayGuardian() {
  // With no sender left the guard ends, acting only if last told "switched".
  if (m_news >= 0) close(m_news);
}

}  // namespace platform::x11
