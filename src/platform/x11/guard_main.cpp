// winterhain-guard: started by the program before it switches the display,
// it puts the desktop's mode back should the program end without doing so.
#include "platform/x11/display_mode.hpp"

int main() { platform::x11::RunDisplayGuard(); }
