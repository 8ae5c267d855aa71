#include "platform/keyboard.hpp"

#include <SDL.h>
#include <X11/keysym.h>

#include "platform/x11_key_state.hpp"

namespace platform {
namespace {
bool g_escapePressed = false;

// Sees every key press as SDL queues it, so a press and release that both
// happen between two polls are not lost. Keys are told apart by the symbol
// they produce in the current layout, not by their place.
int WatchKeys(void*, SDL_Event* event) {
  if (event->type == SDL_KEYDOWN && event->key.keysym.sym == SDLK_ESCAPE) g_escapePressed = true;
  return 0;
}

// On X11 the server's key state, which holds whichever window has the focus;
// elsewhere SDL's, which only follows keys while a window of ours has it.
bool EscapeIsDown() {
  bool known = false;
  const bool down = X11KeyIsDown(XK_Escape, known);
  if (known) return down;
  const SDL_Scancode place = SDL_GetScancodeFromKey(SDLK_ESCAPE);
  return place != SDL_SCANCODE_UNKNOWN && SDL_GetKeyboardState(nullptr)[place];
}
}  // namespace

void StartKeyWatch() {
  g_escapePressed = false;
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
  if (g_escapePressed) state |= kKeyPressedSincePoll;
  g_escapePressed = false;
  return state;
}

}  // namespace platform
