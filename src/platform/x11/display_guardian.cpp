#include "platform/x11/display_guardian.hpp"

#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

#include "platform/posix/children.hpp"
#include "platform/x11/randr_desktop.hpp"

namespace platform::x11 {
namespace {
// Where the guard keeps what it watches.
constexpr int kNewsFd = 3;
constexpr int kProgramFd = 4;  // a pidfd: readable once the program has ended

// How long the program waits for a new guard to say it is ready.
constexpr int kReadyTimeoutMs = 5000;

// One message from the program; the guard keeps the last. The socket keeps
// message boundaries, so each arrives whole or not at all.
struct News {
  char kind = 'R';  // 'S': switched, `desktop` to give back; 'R': given back
  SwitchedDesktop desktop;
};

// The guard's first word to the program: whether it holds its connection.
constexpr char kReady = 'K';
constexpr char kNoServer = 'N';

int OpenProcessHandle(pid_t pid) {
#ifdef SYS_pidfd_open
  return static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
#else
  (void)pid;
  return -1;
#endif
}

// Closes every descriptor above 2 but `a` and `b` (b may be -1).
void CloseAllBut(int a, int b) {
  const int low = b < 0 ? a : std::min(a, b);
  const int high = std::max(a, b);
  if (low > 3) close_range(3, low - 1, 0);
  if (high > low + 1) close_range(low + 1, high - 1, 0);
  close_range(high + 1, ~0u, 0);
}

// Puts `from` on `to`; `from` is above both targets, so nothing is lost.
void MoveTo(int from, int to) {
  dup2(from, to);
  close(from);
}

// The guard leaves the program's session and process group (a kill aimed at
// the group must not take the guard along), ignores the terminal's signals
// and keeps none of the program's files open (its display connection above
// all) but the two it watches and stderr. Everything else is closed first,
// so that the moves need no more than a few descriptors (ulimit -n).
void DetachFromProgram(int newsFd, int programFd) {
  setsid();
  for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGTSTP, SIGTTIN, SIGTTOU, SIGPIPE})
    std::signal(signal, SIG_IGN);
  CloseAllBut(newsFd, programFd);
  const int news = fcntl(newsFd, F_DUPFD, kProgramFd + 1);
  close(newsFd);
  const int program = programFd >= 0 ? fcntl(programFd, F_DUPFD, kProgramFd + 1) : -1;
  if (programFd >= 0) close(programFd);
  MoveTo(news, kNewsFd);
  if (program >= 0) MoveTo(program, kProgramFd);
  const int devNull = open("/dev/null", O_RDWR);
  dup2(devNull, 0);
  dup2(devNull, 1);
  if (devNull > 2) close(devNull);
}

// Reads the news that has arrived; false once no sender is left.
bool ReadNews(News& last) {
  for (;;) {
    News news;
    const ssize_t got = recv(kNewsFd, &news, sizeof news, MSG_DONTWAIT);
    if (got == 0) return false;
    if (got < 0) return errno == EAGAIN || errno == EINTR;
    if (news.kind == 'R' || got == static_cast<ssize_t>(sizeof news)) last = news;
  }
}

bool ProgramGone(pid_t program) { return kill(program, 0) != 0 && errno == ESRCH; }

// Waits until the program has ended, keeping track of the news.
void WatchProgram(pid_t program, bool hasHandle, News& last) {
  for (;;) {
    pollfd watched[2] = {{kNewsFd, POLLIN, 0}, {hasHandle ? kProgramFd : -1, POLLIN, 0}};
    // Without a pidfd (an old kernel) the program is looked at ten times a second.
    if (poll(watched, 2, hasHandle ? -1 : 100) < 0 && errno != EINTR) return;
    if (watched[0].revents && !ReadNews(last)) return;
    if (watched[1].revents || (!hasHandle && ProgramGone(program))) break;
  }
  ReadNews(last);  // whatever the program said before it ended
}

const char kEndedSwitched[] = "winterhain: the program ended with the display switched; ";

// The guard's connection turned out dead when it came to act: the server
// has ended. Xlib would end the process after this returns.
int OnServerGone(Display*) {
  std::fprintf(stderr, "%sthe X server cannot be reached, so the desktop's mode was not put back\n",
               kEndedSwitched);
  _exit(0);
}

[[noreturn]] void Guard(pid_t program, int newsFd, int programFd, RestoreFunction restore) {
  DetachFromProgram(newsFd, programFd);
  Display* display = XOpenDisplay(nullptr);
  const char word = display ? kReady : kNoServer;
  send(kNewsFd, &word, 1, MSG_NOSIGNAL);
  if (!display) _exit(0);
  WatchScreen(display);
  XSetIOErrorHandler(OnServerGone);
  News last;
  WatchProgram(program, programFd >= 0, last);
  // A refused restore and a vanished output were said by the restore
  // itself, naming the output.
  if (last.kind == 'S' && restore(display, last.desktop) == RestoreOutcome::Restored)
    std::fprintf(stderr, "%sthe desktop's mode is restored\n", kEndedSwitched);
  _exit(0);
}

// Waits for the new guard's first word; false, with the reason, when it
// has none to give.
bool AwaitReady(int news, std::string& why) {
  pollfd ready = {news, POLLIN, 0};
  int polled;
  do {
    polled = poll(&ready, 1, kReadyTimeoutMs);
  } while (polled < 0 && errno == EINTR);
  char word = 0;
  if (polled > 0 && recv(news, &word, 1, 0) == 1 && word == kReady) return true;
  why = word == kNoServer ? "it cannot reach the X server" : "it did not start";
  return false;
}
}  // namespace

bool DisplayGuardian::Start(RestoreFunction restore, std::string& why) {
  if (m_news >= 0) return true;
  int fds[2];
  // Sockets rather than a pipe: sending to a guard that is gone must not
  // raise SIGPIPE in the program, and each message arrives whole.
  if (socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, fds) != 0) {
    why = std::strerror(errno);
    return false;
  }
  const pid_t program = getpid();
  const int programFd = OpenProcessHandle(program);
  pid_t child = -1;
  int forkError = 0;
  {
    posix::UnboundForks unbound;  // the guard must outlive the program
    child = fork();
    forkError = errno;
    if (child == 0) {
      // A grandchild does the guarding, so the program never has to reap it.
      const pid_t guard = fork();
      if (guard == 0) Guard(program, fds[0], programFd, restore);
      _exit(guard < 0 ? errno : 0);
    }
  }
  if (programFd >= 0) close(programFd);
  close(fds[0]);
  int status = 0;
  if (child > 0) waitpid(child, &status, 0);
  if (child < 0 || (WIFEXITED(status) && WEXITSTATUS(status) != 0)) {
    why = std::strerror(child < 0 ? forkError : WEXITSTATUS(status));
    close(fds[1]);
    return false;
  }
  if (!AwaitReady(fds[1], why)) {
    close(fds[1]);
    return false;
  }
  m_news = fds[1];
  return true;
}

void DisplayGuardian::TellSwitched(const SwitchedDesktop& desktop) {
  if (m_news < 0) return;
  News news;
  news.kind = 'S';
  news.desktop = desktop;
  while (send(m_news, &news, sizeof news, MSG_NOSIGNAL) < 0 && errno == EINTR) {
  }
}

void DisplayGuardian::TellRestored() {
  if (m_news < 0) return;
  const News news;
  while (send(m_news, &news, 1, MSG_NOSIGNAL) < 0 && errno == EINTR) {
  }
}

DisplayGuardian::~DisplayGuardian() {
  // With no sender left the guard ends, acting only if last told "switched".
  if (m_news >= 0) close(m_news);
}

}  // namespace platform::x11
