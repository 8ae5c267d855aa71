#include "platform/message_box.hpp"

#include <SDL.h>

#include <cstdio>

#include "platform/window_internal.hpp"

namespace platform {

void ShowMessageBox(Window* owner, const char* text, const char* caption) {
  SDL_Window* parent = owner ? owner->sdl : nullptr;
  if (SDL_ShowSimpleMessageBox(0, caption, text, parent) != 0)
    std::fprintf(stderr, "%s: %s\n", caption, text);
}

}  // namespace platform
