// Modal message boxes with one OK button.
#pragma once

namespace platform {

struct Window;

// Shows the box owned by `owner` (may be nullptr) and waits for OK. Where no
// display can show it, the text goes to stderr as "caption: text".
void ShowMessageBox(Window* owner, const char* text, const char* caption);

}  // namespace platform
