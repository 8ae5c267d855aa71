// Where the window objects' message boxes go: to the platform's real box,
// unless another presenter has been put in its place (the unit tests record
// the boxes instead of showing them on whatever display the host has).
#pragma once

#include <functional>

#include "framework/afx_types.hpp"

// Shows one box with `text` under `caption`, owned by `owner` (may be
// nullptr), and returns once it is answered.
using AfxMessageBoxPresenter =
    std::function<void(HWND owner, const char* text, const char* caption)>;

// Puts `presenter` in place and returns the one it replaces. An empty
// presenter restores the platform's real box.
AfxMessageBoxPresenter AfxSetMessageBoxPresenter(AfxMessageBoxPresenter presenter);

// Shows the box through the presenter in place.
void AfxPresentMessageBox(HWND owner, const char* text, const char* caption);
