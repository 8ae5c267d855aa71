#include "platform/posix/signals.hpp"

#include <atomic>
#include <csignal>

#include <pthread.h>
#include <unistd.h>

namespace platform {
namespace {
// Written by the signal handler, so plain flags of the one type a handler
// may write, and a lock-free atomic for the box process it ends.
volatile std::sig_atomic_t g_terminateRequested = 0;  // taken by the event loop
volatile std::sig_atomic_t g_terminationSignal = 0;   // the first one, stays set
std::atomic<pid_t> g_childToEnd{0};
std::atomic<void (*)()> g_endInPlace{nullptr};
volatile std::sig_atomic_t g_stopRequested = 0;  // the stop signal, taken by the event loop
volatile std::sig_atomic_t g_deferredStop = 0;   // a stop that came while deferred
unsigned g_endDeadlineSeconds = 0;  // set before the handlers, then only read

// The deadline after a termination signal has passed: the process dies of
// that signal, wherever it was held up.
extern "C" void OnEndDeadline(int) { posix::EndAsSignalled(); }

extern "C" void OnTerminationSignal(int signal) {
  g_terminateRequested = 1;
  if (!g_terminationSignal) {
    g_terminationSignal = signal;
    if (g_endDeadlineSeconds) alarm(g_endDeadlineSeconds);
  }
  const pid_t child = g_childToEnd;
  if (child > 0) kill(child, SIGKILL);
  if (void (*const end)() = g_endInPlace) end();
}

extern "C" void OnStopSignal(int signal) { g_stopRequested = signal; }
extern "C" void OnDeferredStop(int signal) { g_deferredStop = signal; }
constexpr int kStops[] = {SIGTSTP, SIGTTIN, SIGTTOU};

// One shot: the handler is reset to the default action when it runs.
void CatchStop(int signal) { posix::SetHandler(signal, OnStopSignal, SA_RESTART | SA_RESETHAND); }
}  // namespace

namespace posix {

void InstallTerminationSignals() {
  // Restarted system calls: an interrupted read on the display connection
  // would otherwise end the program through Xlib's I/O error exit.
  for (int signal : {SIGINT, SIGTERM, SIGHUP})
    SetHandler(signal, OnTerminationSignal, SA_RESTART);
  for (int signal : kStops) CatchStop(signal);
}

void SetHandler(int signal, void (*handler)(int), int flags, struct sigaction* was) {
  struct sigaction action {};
  action.sa_handler = handler;
  action.sa_flags = flags;
  sigemptyset(&action.sa_mask);
  sigaction(signal, &action, was);
}

int TerminationSignal() { return g_terminationSignal; }
bool TerminationRequested() { return g_terminationSignal != 0; }

// By the signal's default action, as a program that never caught it would
// end: its parent sees it killed by that signal.
void EndAsSignalled() {
  const int signal = g_terminationSignal;
  if (!signal) return;
  SetHandler(signal, SIG_DFL);
  sigset_t just;
  sigemptyset(&just);
  sigaddset(&just, signal);
  pthread_sigmask(SIG_UNBLOCK, &just, nullptr);
  raise(signal);
  _exit(128 + signal);  // for a signal whose default action does not end the process
}

void DieOfTerminationWithin(unsigned seconds) {
  g_endDeadlineSeconds = seconds;
  SetHandler(SIGALRM, OnEndDeadline);
}

bool TakeTerminateRequest() {
  if (!g_terminateRequested) return false;
  g_terminateRequested = 0;
  return true;
}

void EndOnTermination(pid_t child) {
  g_childToEnd = child;
  if (child > 0 && TerminationRequested()) kill(child, SIGKILL);
}

void EndInPlaceOnTermination(void (*end)()) {
  g_endInPlace = end;
  if (end && TerminationRequested()) end();
}

int TakeStopRequest() {
  const int signal = g_stopRequested;
  g_stopRequested = 0;
  return signal;
}

StopsDeferred::StopsDeferred() {
  for (int i = 0; i < 3; ++i) SetHandler(kStops[i], OnDeferredStop, SA_RESTART, &m_was[i]);
}

StopsDeferred::~StopsDeferred() {
  for (int i = 0; i < 3; ++i) sigaction(kStops[i], &m_was[i], nullptr);
  const int signal = g_deferredStop;
  g_deferredStop = 0;
  if (signal) raise(signal);
}

void StopNow(int signal) {
  raise(signal);  // its default action: stop, until SIGCONT
  CatchStop(signal);
}

}  // namespace posix
}  // namespace platform
