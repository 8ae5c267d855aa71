// The program's resources: strings and icons by number. The framework
// declares the lookups; the program's resource file defines them.
#pragma once

#include "framework/afx_types.hpp"

// Number of the application-title string.
constexpr UINT AFX_IDS_APP_TITLE = 0xE000;

// nullptr when the program has no such resource.
const char* AfxLoadString(UINT id);
HICON AfxLoadIcon(UINT id);
