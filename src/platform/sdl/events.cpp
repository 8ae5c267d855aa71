#include "platform/platform.hpp"

#include <SDL.h>

#include "platform/posix/signals.hpp"
#include "platform/posix/standard_output.hpp"
#include "platform/sdl/state.hpp"

namespace platform {
namespace {
bool TakeTerminateRequest(Event& event) {
  if (!posix::TakeTerminateRequest()) return false;
  event = Event{EventKind::Terminate};
  return true;
}

// The window's drawable changed size: the letterbox's area follows it, and
// the event carries the window's client area, which letterboxing makes
// smaller than the window and inset.
Event SizeEvent(Window& window) {
  PlatformState& state = State();
  if (state.letterbox.Active() && window.hasPixelFormat) {
    const auto [width, height] = DrawableSize(window);
    state.letterbox.Resize(width, height);
  }
  return Event{EventKind::Size, &window, ClientAreaOf(window)};
}

// A window another program handed over: its new size, read from X; its
// end (the X errors its drawing now causes are noted, not fatal) closes it.
bool HandedOverWindowEvent(Event& event) {
  PlatformState& state = State();
  if (state.policy.fullscreen != Fullscreen::HandedOver) return false;
  Window* window = state.windows.HandedOver();
  if (!window) return false;
  if (state.handed.Resized()) {
    window->width = state.handed.Width();
    window->height = state.handed.Height();
    event = SizeEvent(*window);
    return true;
  }
  if (!state.handed.TakeGone()) return false;
  event = Event{EventKind::Close, window};
  return true;
}

// Nobody reads the program's output any more: it ends as on SIGTERM.
bool OutputClosedEvent(Event& event) {
  PlatformState& state = State();
  if (!state.policy.endsWithOutput || !state.output.TakeClosed()) return false;
  event = Event{EventKind::Terminate};
  return true;
}

// Switches the display again after a hold, and puts the windows that
// cover it where the switched output now is.
void ResumeSwitch() {
  PlatformState& state = State();
  if (!state.display.Resume()) return;
  const auto area = state.display.SwitchedArea();
  for (Window* window : state.windows.All())
    if (area && window->sdl && window->coversSwitchedDisplay)
      SDL_SetWindowPosition(window->sdl, area->x, area->y);
}

// A window covering the switched display, minimised or unmapped by the
// window manager, gives the desktop its mode back until it is shown again.
void FollowVisibility(Window& window, Uint8 change) {
  if (!window.coversSwitchedDisplay) return;
  const bool hides = change == SDL_WINDOWEVENT_MINIMIZED || change == SDL_WINDOWEVENT_HIDDEN;
  const bool shows = change == SDL_WINDOWEVENT_RESTORED || change == SDL_WINDOWEVENT_SHOWN;
  if (hides && !window.hidden) {
    window.hidden = true;
    State().display.Hold();
  } else if (shows && window.hidden) {
    window.hidden = false;
    ResumeSwitch();
  }
}

// Ctrl+Z and the terminal's other stops: the desktop gets its mode back
// before the program stops, and the scene its switch once it continues.
void StopIfAsked() {
  const int signal = posix::TakeStopRequest();
  if (!signal) return;
  State().display.Hold();
  posix::StopNow(signal);
  ResumeSwitch();
}

// Turns one SDL event into ours; false for the ones the program ignores.
bool Translate(const SDL_Event& sdl, Event& event) {
  if (sdl.type == SDL_WINDOWEVENT) {
    Window* window = State().windows.Find(sdl.window.windowID);
    if (!window) return false;
    FollowVisibility(*window, sdl.window.event);
    if (sdl.window.event == SDL_WINDOWEVENT_CLOSE)
      event = Event{EventKind::Close, window};
    else if (sdl.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
      event = SizeEvent(*window);
    else
      return false;
    return true;
  }
  if (sdl.type == SDL_KEYDOWN) {
    const bool escape = sdl.key.keysym.sym == SDLK_ESCAPE;
    event = Event{EventKind::KeyDown, State().windows.Find(sdl.key.windowID), {}, escape};
    return true;
  }
  return false;
}

// Escape went down or came up since it was last reported, read where the
// desktop policy says; the events just pumped have passed the key watch.
bool EscapeEvent(Event& event) {
  PlatformState& state = State();
  bool down = false;
  if (state.policy.escape == EscapeSource::Nowhere || !state.keyWatch.TakeEscapeChange(down))
    return false;
  event = Event{down ? EventKind::EscapeDown : EventKind::EscapeUp};
  return true;
}

bool TakeEvent(Event& event) {
  StopIfAsked();
  State().display.KeepGuarded();
  if (TakeTerminateRequest(event) || OutputClosedEvent(event)) return true;
  if (!State().video.Up()) return false;
  if (HandedOverWindowEvent(event)) return true;
  SDL_Event sdl;
  while (SDL_PollEvent(&sdl))
    if (Translate(sdl, event)) return true;
  return EscapeEvent(event);
}
}  // namespace

bool PollEvent(Event& event, int timeoutMs) {
  if (TakeEvent(event)) return true;
  const bool video = State().video.Up();
  SDL_Event sdl;
  // Short slices, so a termination signal is seen promptly.
  for (int waited = 0; waited < timeoutMs; waited += 10) {
    if (!video)
      SDL_Delay(10);
    else if (SDL_WaitEventTimeout(&sdl, 10) && Translate(sdl, event))
      return true;
    StopIfAsked();
    if (TakeTerminateRequest(event)) return true;
  }
  return false;
}

}  // namespace platform
