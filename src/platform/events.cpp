#include "platform/events.hpp"

#include <SDL.h>

#include <csignal>

#include "platform/keyboard.hpp"
#include "platform/message_box.hpp"
#include "platform/window_internal.hpp"

namespace platform {
namespace {
// Set from the signal handler, so plain flags of the one type a handler may
// write rather than a state struct; the second holds for the whole process.
volatile std::sig_atomic_t g_terminateRequested = 0;  // taken by the event loop
volatile std::sig_atomic_t g_terminationSeen = 0;     // stays set

// A box being shown is ended at once: the program may be waiting for it.
extern "C" void OnTerminationSignal(int) {
  g_terminateRequested = 1;
  g_terminationSeen = 1;
  CloseMessageBoxOnSignal();
}

bool TakeTerminateRequest(Event& event) {
  if (!g_terminateRequested) return false;
  g_terminateRequested = 0;
  event = Event{EventKind::Terminate};
  return true;
}

// Turns one SDL event into ours; false for the ones the program ignores.
bool Translate(const SDL_Event& sdl, Event& event) {
  if (sdl.type == SDL_WINDOWEVENT) {
    Window* window = FindWindow(sdl.window.windowID);
    if (!window) return false;
    if (sdl.window.event == SDL_WINDOWEVENT_CLOSE) {
      event = Event{EventKind::Close, window};
      return true;
    }
    if (sdl.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
      // The size the frame is drawn at, which letterboxing makes smaller
      // than the one SDL reports.
      event = Event{EventKind::Size, window};
      GetClientSize(window, event.width, event.height);
      return true;
    }
    return false;
  }
  if (sdl.type == SDL_KEYDOWN) {
    const int key = sdl.key.keysym.sym == SDLK_ESCAPE ? static_cast<int>(Key::Escape) : 0;
    event = Event{EventKind::KeyDown, FindWindow(sdl.key.windowID), 0, 0, key};
    return true;
  }
  return false;
}
}  // namespace

void InstallTerminationSignals() {
  struct sigaction action {};
  action.sa_handler = OnTerminationSignal;
  // Restarted system calls: an interrupted read on the display connection
  // would otherwise end the program through Xlib's I/O error exit.
  action.sa_flags = SA_RESTART;
  sigemptyset(&action.sa_mask);
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
}

bool TerminationRequested() { return g_terminationSeen != 0; }

bool PollEvent(Event& event) {
  if (TakeTerminateRequest(event)) return true;
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return false;
  SDL_Event sdl;
  while (SDL_PollEvent(&sdl))
    if (Translate(sdl, event)) return true;
  return false;
}

bool WaitEvent(Event& event, int timeoutMs) {
  if (PollEvent(event)) return true;
  const bool video = SDL_WasInit(SDL_INIT_VIDEO) != 0;
  SDL_Event sdl;
  // Short slices, so a termination signal is seen promptly.
  for (int waited = 0; waited < timeoutMs; waited += 10) {
    if (!video)
      SDL_Delay(10);
    else if (SDL_WaitEventTimeout(&sdl, 10) && Translate(sdl, event))
      return true;
    if (TakeTerminateRequest(event)) return true;
  }
  return false;
}

}  // namespace platform
