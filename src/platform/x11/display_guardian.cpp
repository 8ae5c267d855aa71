#include "platform/x11/display_guardian.hpp"

#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "platform/x11/randr_desktop.hpp"
#include "platform/x11/x_errors.hpp"

namespace platform::x11 {
namespace {
// Where the guard keeps what it watches.
constexpr int kNewsFd = 3;
constexpr int kProgramFd = 4;  // a pidfd: readable once the program has ended
constexpr int kFileFd = 5;     // its own file, which it is started from

constexpr int kReadyTimeoutMs = 5000;

constexpr const char* kGuardName = "winterhain-guard";

// The guard is the file of that name in the program's own folder (the build
// folder, or libexec/winterhain/ once installed).
std::string GuardPath() {
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? kGuardName : (program.parent_path() / kGuardName).string();
}

// The guard's first word to the program: whether it holds its connection.
constexpr char kReady = 'K';
constexpr char kNoServer = 'N';

// One message from the program; the guard keeps the last. The socket keeps
// message boundaries, so each arrives whole or not at all; "given back" is
// sent as its kind alone.
struct News {
  char kind = 'R';  // 'S': switched, `desktop` to give back; 'R': given back
  SwitchedDesktop desktop;
};

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

// Waits until the program has ended, keeping track of the news. Without a
// pidfd (an old kernel) that is when the socket has no sender left.
void WatchProgram(News& last) {
  const int program = fcntl(kProgramFd, F_GETFD) != -1 ? kProgramFd : -1;
  for (;;) {
    pollfd watched[2] = {{kNewsFd, POLLIN, 0}, {program, POLLIN, 0}};
    if (poll(watched, 2, -1) < 0 && errno != EINTR) return;
    if (watched[0].revents && !ReadNews(last)) return;
    if (watched[1].revents) break;
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

// The guard started from its held file (posix_spawn: nothing runs before
// the exec), in a session of its own (a kill aimed at the program's group
// must not take the guard along), with the socket on kNewsFd, the
// program's pidfd on kProgramFd, stderr and nothing else of the program's
// (its display connection above all).
int SpawnGuard(int guardFile, int newsFd, int& guard) {
  const int news = fcntl(newsFd, F_DUPFD_CLOEXEC, kFileFd + 1);
  const int file = fcntl(guardFile, F_DUPFD_CLOEXEC, kFileFd + 1);
  const int handle = static_cast<int>(syscall(SYS_pidfd_open, getpid(), 0));
  const int program = handle >= 0 ? fcntl(handle, F_DUPFD_CLOEXEC, kFileFd + 1) : -1;
  if (handle >= 0) close(handle);
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_addopen(&files, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&files, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_adddup2(&files, news, kNewsFd);
  if (program >= 0) posix_spawn_file_actions_adddup2(&files, program, kProgramFd);
  if (program < 0) posix_spawn_file_actions_addclose(&files, kProgramFd);
  posix_spawn_file_actions_adddup2(&files, file, kFileFd);
  posix_spawn_file_actions_addclosefrom_np(&files, kFileFd + 1);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
  char* const arguments[] = {const_cast<char*>(kGuardName), nullptr};
  const std::string path = "/proc/self/fd/" + std::to_string(kFileFd);
  pid_t pid = 0;
  const int error = news < 0 || file < 0
                        ? errno
                        : posix_spawn(&pid, path.c_str(), &files, &attributes, arguments, environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&files);
  for (int held : {news, file, program})
    if (held >= 0) close(held);
  guard = pid;
  return error;
}
}  // namespace

[[noreturn]] void RunGuard(RestoreFunction restore) {
  close(kFileFd);
  prctl(PR_SET_NAME, kGuardName);  // else named after the file it ran from, "5"
  for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGTSTP, SIGTTIN, SIGTTOU, SIGPIPE})
    std::signal(signal, SIG_IGN);
  ErrorTrap trap;
  trap.Install();
  Display* display = XOpenDisplay(nullptr);
  const char word = display ? kReady : kNoServer;
  send(kNewsFd, &word, 1, MSG_NOSIGNAL);
  if (!display) _exit(0);
  WatchScreen(display);
  XSetIOErrorHandler(OnServerGone);
  News last;
  WatchProgram(last);
  // A refused restore and a vanished output were said by the restore itself.
  if (last.kind == 'S' && restore(display, last.desktop))
    std::fprintf(stderr, "%sthe desktop's mode is restored\n", kEndedSwitched);
  _exit(0);  // none of the program's exit handlers: it has run none of its start
}

bool DisplayGuardian::Spawn(std::string& why, const SwitchedDesktop* switched) {
  if (m_news >= 0) return true;
  if (m_file < 0) {
    const std::string path = GuardPath();
    m_file = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (m_file < 0) return Fail(why, (path + ": " + std::strerror(errno)).c_str());
  }
  int fds[2];
  // Sockets rather than a pipe: sending to a guard that is gone must not
  // raise SIGPIPE in the program, and each message arrives whole.
  if (socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, fds) != 0)
    return Fail(why, std::strerror(errno));
  m_news = fds[1];
  if (switched) Tell(switched);  // there for the guard from its start
  const int error = SpawnGuard(m_file, fds[0], m_guard);
  close(fds[0]);
  if (error != 0) return Fail(why, std::strerror(error));
  m_awaited = false;
  return true;
}

bool DisplayGuardian::AwaitReady(std::string& why) {
  if (m_awaited) return m_news >= 0;
  m_awaited = true;
  pollfd ready = {m_news, POLLIN, 0};
  const int polled = TEMP_FAILURE_RETRY(poll(&ready, 1, kReadyTimeoutMs));
  char word = 0;
  if (polled > 0 && recv(m_news, &word, 1, 0) == 1 && word == kReady) return true;
  return Fail(why, word == kNoServer ? "it cannot reach the X server" : "it did not start");
}

bool DisplayGuardian::Gone() {
  // Until its first word is read, that word is what makes the line readable.
  pollfd news = {m_news, POLLIN, 0};
  if (m_news < 0 || !m_awaited || poll(&news, 1, 0) <= 0) return false;
  HangUp();
  waitpid(m_guard, nullptr, 0);
  return true;
}

void DisplayGuardian::Tell(const SwitchedDesktop* switched) {
  const News news = switched ? News{'S', *switched} : News{};
  const std::size_t size = switched ? sizeof news : 1;
  if (m_news >= 0) TEMP_FAILURE_RETRY(send(m_news, &news, size, MSG_NOSIGNAL));
}

void DisplayGuardian::HangUp() {
  if (m_news >= 0) close(m_news);
  m_news = -1;
}

bool DisplayGuardian::Fail(std::string& why, const char* reason) {
  why = reason;
  HangUp();
  return false;
}

// With no sender left the guard ends, acting only if last told "switched".
DisplayGuardian::~DisplayGuardian() {
  HangUp();
  if (m_file >= 0) close(m_file);
}

}  // namespace platform::x11
