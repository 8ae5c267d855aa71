// The asynchronous key state the frame loop polls.
//
// Does:
//  - Escape, by the symbol it produces in the current layout; a press and
//    release between two polls still counts
//  - on X11 the server's key state, whichever window has the focus
//  - presses from the moment the layer starts, so one made while the first
//    frames are prepared counts
// Does not:
//  - any other key (0 is returned)
//  - outside X11, see keys while another program's window has the focus
#pragma once

#include <cstdint>

namespace platform {

enum class Key : int { Escape = 27 };

constexpr std::uint16_t kKeyDownNow = 0x8000;
constexpr std::uint16_t kKeyPressedSincePoll = 0x0001;

// kKeyDownNow if the key is down now, kKeyPressedSincePoll if it went down
// since the previous call (both may be set); 0 otherwise.
std::uint16_t GetAsyncKeyState(Key key);

}  // namespace platform
