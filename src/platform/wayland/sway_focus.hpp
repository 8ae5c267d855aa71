// Where sway (or i3) has its focus, asked over its own IPC socket (SWAYSOCK
// or I3SOCK): the Wayland protocol tells a client nothing about the focus.
//
// Does:
//  - ask for the workspaces once (GET_WORKSPACES) and read the focused
//    one's top-left corner in the layout of all outputs
// Does not:
//  - ask any other compositor (none offers a focus to a client)
#pragma once

namespace platform::wayland {

struct LayoutPoint {
  int x = 0;
  int y = 0;
};

// False where no such socket answers, or no workspace is focused.
bool FindSwayFocus(LayoutPoint& focus);

}  // namespace platform::wayland
