#include "framework/wnd_class.hpp"

#include <cstdio>
#include <cstring>
#include <list>

namespace {
// A list keeps each class's name at a fixed address once registered.
std::list<AfxWndClass> g_classes;
}  // namespace

const char* AfxRegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon) {
  for (const AfxWndClass& known : g_classes)
    if (known.style == classStyle && known.cursor == cursor && known.background == background &&
        known.icon == icon)
      return known.name.c_str();
  char name[96];
  std::snprintf(name, sizeof name, "Afx:%x:%p:%x:%p", classStyle, cursor,
                static_cast<unsigned>(background), static_cast<const void*>(icon));
  g_classes.push_back(AfxWndClass{name, classStyle, cursor, background, icon});
  return g_classes.back().name.c_str();
}

const AfxWndClass* AfxFindWndClass(const char* name) {
  for (const AfxWndClass& known : g_classes)
    if (name && known.name == name) return &known;
  return nullptr;
}

HBRUSH GetStockObject(int object) { return object; }
