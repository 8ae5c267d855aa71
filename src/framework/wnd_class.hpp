// Window classes: the attributes windows are created with.
#pragma once

#include <string>

#include "framework/afx_types.hpp"

struct AfxWndClass {
  std::string name;
  UINT style = 0;
  HCURSOR cursor = nullptr;
  HBRUSH background = 0;
  HICON icon = nullptr;
};

// Registers a class with exactly these attributes (once per distinct set)
// and returns its name, valid for the life of the program.
const char* AfxRegisterWndClass(UINT classStyle, HCURSOR cursor = nullptr, HBRUSH background = 0,
                                HICON icon = nullptr);
// The class of that name, or nullptr.
const AfxWndClass* AfxFindWndClass(const char* name);

HBRUSH GetStockObject(int object);
