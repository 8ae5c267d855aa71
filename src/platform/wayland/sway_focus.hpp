// Where sway (or i3) has its focus, asked over its own IPC socket (SWAYSOCK
// or I3SOCK): the Wayland protocol tells a client nothing about the focus,
// and no other compositor offers it. The workspaces are asked for once
// (GET_WORKSPACES); the focused one's top-left corner is the answer.
#pragma once

namespace platform::wayland {

// The corner in the layout of all outputs; false where no such socket
// answers, or no workspace is focused.
bool FindSwayFocus(int& x, int& y);

}  // namespace platform::wayland
