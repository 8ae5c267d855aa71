#include <SDL.h>
#include <SDL_syswm.h>

#include <utility>

#include "platform/sdl/key_watch.hpp"
#include "platform/x11/key_state.hpp"

namespace platform {

KeyWatch::~KeyWatch() {
  if (m_started) SDL_DelEventWatch(Watch, this);
}

void KeyWatch::Start(x11::KeyState* server) {
  m_server = server;
  // The X events themselves, keycodes included, pass the watch too.
  if (m_server) SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
  SDL_AddEventWatch(Watch, this);
  m_started = true;
}

// Keys are told apart by the symbol they produce in the current layout, not
// by their place: on X11 from the server's own mapping, since SDL's symbols
// may lag behind a layout change.
int KeyWatch::Watch(void* self, SDL_Event* event) {
  auto& watch = *static_cast<KeyWatch*>(self);
  if (watch.m_server) {
    const SDL_SysWMmsg* message = event->type == SDL_SYSWMEVENT ? event->syswm.msg : nullptr;
    if (message && message->subsystem == SDL_SYSWM_X11 &&
        watch.m_server->IsEscapePress(&message->msg.x11.event))
      watch.m_escapePressed = true;
  } else if (event->type == SDL_KEYDOWN && event->key.keysym.sym == SDLK_ESCAPE) {
    watch.m_escapePressed = true;
  }
  return 0;
}

bool KeyWatch::EscapeIsDown() const {
  if (m_server) return m_server->EscapeIsDown();
  const SDL_Scancode place = SDL_GetScancodeFromKey(SDLK_ESCAPE);
  return place != SDL_SCANCODE_UNKNOWN && SDL_GetKeyboardState(nullptr)[place];
}

bool KeyWatch::TakeEscapeChange(bool& down) {
  if (m_reportedDown && m_escapePressed)
    down = false;  // pressed again: it came up in between
  else if (!m_reportedDown)
    down = std::exchange(m_escapePressed, false) || EscapeIsDown();
  else
    down = EscapeIsDown();
  if (down == m_reportedDown) return false;
  m_reportedDown = down;
  return true;
}

}  // namespace platform
