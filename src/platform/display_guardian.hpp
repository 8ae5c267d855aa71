// A guard for the display mode: a small process, forked before the first
// switch, that puts the desktop's mode back should the program die without
// doing so itself (a crash, SIGKILL). The program tells it whether the
// display is switched; when the connection between them closes at the program's end
// while it is, the guard restores the mode and exits.
#pragma once

#include <functional>

namespace platform {

// Forks the guard once; `restore` runs in the guard when it has to act.
// False when no guard could be started (the program runs on unguarded).
bool StartDisplayGuardian(std::function<void()> restore);
// Tells the guard the display is switched (true) or back to normal.
void TellDisplayGuardian(bool switched);

}  // namespace platform
