#include "platform/platform.hpp"

#include <SDL.h>

#include <unistd.h>

#include <cstdio>

#include "platform/posix/children.hpp"
#include "platform/posix/signals.hpp"
#include "platform/sdl/state.hpp"

// SDL shows a box from a process of its own: on X11 a forked child that
// draws it, on Wayland a dialog program it starts. The parent waits for that
// child and retries the wait when a signal interrupts it, so a termination
// signal can only end the box by ending the child, whose id the fork watch
// learns. Where no process can be forked (the user's process limit
// reached), SDL draws the box in this process, and it reads no signal: a
// termination signal then gives the desktop back from the handler and ends
// the program there.

namespace platform {
namespace {
// Status 0, as a termination signal ends the program anywhere else; what
// it does besides giving the desktop back is left undone.
void EndDuringBox() {
  State().display.Restore();
  _exit(0);
}

// True only when the box was shown and answered for certain. Boxes without
// an owner window, or where the desktop has no certain place for them, are
// not shown.
bool ShowAndWait(Window* owner, const char* text, const char* caption) {
  const BoxTrust trust = State().policy.boxes;
  if (!owner || !owner->sdl || trust == BoxTrust::NotShown) return false;
  // Without a box process that can be ended, a box could hold the program.
  posix::ForkWatch watch(EndDuringBox);
  if (!watch.Ok()) return false;
  const bool answered = SDL_ShowSimpleMessageBox(0, caption, text, owner->sdl) == 0;
  return answered && trust == BoxTrust::Confirmed && !posix::TerminationRequested();
}
}  // namespace

void ShowBox(Window* owner, const char* text, const char* caption) {
  if (posix::TerminationRequested() || !ShowAndWait(owner, text, caption))
    std::fprintf(stderr, "%s: %s\n", caption, text);
}

}  // namespace platform
