#include "platform/keyboard.hpp"

#include <SDL.h>

namespace platform {
namespace {
bool g_escapePressed = false;

// Sees every key press as SDL queues it, so a press and release that both
// happen between two polls are not lost.
int WatchKeys(void*, SDL_Event* event) {
  if (event->type == SDL_KEYDOWN && event->key.keysym.sym == SDLK_ESCAPE) g_escapePressed = true;
  return 0;
}
}  // namespace

void StartKeyWatch() {
  g_escapePressed = false;
  SDL_AddEventWatch(WatchKeys, nullptr);
}

void StopKeyWatch() { SDL_DelEventWatch(WatchKeys, nullptr); }

std::uint16_t GetAsyncKeyState(Key key) {
  // No pumping here: the message loop has just pumped the system's events,
  // and the watch has seen every press among them.
  if (key != Key::Escape || !SDL_WasInit(SDL_INIT_VIDEO)) return 0;
  std::uint16_t state = 0;
  if (SDL_GetKeyboardState(nullptr)[SDL_SCANCODE_ESCAPE]) state |= kKeyDownNow;
  if (g_escapePressed) state |= kKeyPressedSincePoll;
  g_escapePressed = false;
  return state;
}

}  // namespace platform
