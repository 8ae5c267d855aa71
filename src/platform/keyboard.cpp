#include "platform/keyboard.hpp"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/keysym.h>

#include "platform/x11_key_state.hpp"

namespace platform {
namespace {
struct KeyWatchState {
  bool escapePressed = false;  // since the last poll
};
KeyWatchState g_keyWatch;

// An X key press: told apart by the keycode SDL reports nowhere else.
bool IsX11EscapePress(const SDL_SysWMmsg* message) {
  return message && message->subsystem == SDL_SYSWM_X11 &&
         message->msg.x11.event.type == KeyPress &&
         X11KeycodeProduces(static_cast<int>(message->msg.x11.event.xkey.keycode), XK_Escape);
}

// Sees every key press as SDL queues it, so a press and release that both
// happen between two polls are not lost. Keys are told apart by the symbol
// they produce in the current layout, not by their place: on X11 from the
// server's own mapping, since SDL's symbols may lag behind a layout change.
int WatchKeys(void*, SDL_Event* event) {
  if (event->type == SDL_SYSWMEVENT && IsX11EscapePress(event->syswm.msg))
    g_keyWatch.escapePressed = true;
  else if (event->type == SDL_KEYDOWN && event->key.keysym.sym == SDLK_ESCAPE &&
           !X11KeyStateAvailable())
    g_keyWatch.escapePressed = true;
  return 0;
}

// On X11 the server's key state, which holds whichever window has the focus;
// elsewhere SDL's, which only follows keys while a window of ours has it.
bool EscapeIsDown() {
  if (X11KeyStateAvailable()) return X11KeyIsDown(XK_Escape);
  const SDL_Scancode place = SDL_GetScancodeFromKey(SDLK_ESCAPE);
  return place != SDL_SCANCODE_UNKNOWN && SDL_GetKeyboardState(nullptr)[place];
}
}  // namespace

void StartKeyWatch() {
  g_keyWatch = KeyWatchState{};
  // The X events themselves, keycodes included, pass the watch too.
  if (X11KeyStateAvailable()) SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
  SDL_AddEventWatch(WatchKeys, nullptr);
}

void StopKeyWatch() {
  SDL_DelEventWatch(WatchKeys, nullptr);
  CloseX11KeyState();
}

std::uint16_t GetAsyncKeyState(Key key) {
  // No pumping here: the message loop has just pumped the system's events,
  // and the watch has seen every press among them.
  if (key != Key::Escape || !SDL_WasInit(SDL_INIT_VIDEO)) return 0;
  std::uint16_t state = 0;
  if (EscapeIsDown()) state |= kKeyDownNow;
  if (g_keyWatch.escapePressed) state |= kKeyPressedSincePoll;
  g_keyWatch.escapePressed = false;
  return state;
}

}  // namespace platform
