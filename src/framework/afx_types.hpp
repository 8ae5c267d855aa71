// The framework's basic types, message numbers and structures, with the
// values the program's code is written against.
#pragma once

#include <cstdint>

namespace platform {
struct Window;
struct Icon;
}  // namespace platform

using UINT = unsigned int;
using BOOL = int;
using SHORT = std::int16_t;
using DWORD = std::uint32_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;

using HWND = platform::Window*;  // the system window
using HDC = platform::Window*;   // the window's own device context (CS_OWNDC)
using HICON = const platform::Icon*;
using HCURSOR = const void*;
using HBRUSH = int;  // a stock object number

// Window messages.
constexpr UINT WM_NULL = 0x0000;
constexpr UINT WM_CREATE = 0x0001;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_SIZE = 0x0005;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_KEYDOWN = 0x0100;

constexpr UINT SIZE_RESTORED = 0;
constexpr UINT PM_NOREMOVE = 0x0000;
constexpr UINT PM_REMOVE = 0x0001;
constexpr int SW_HIDE = 0;
constexpr int SW_SHOW = 5;
constexpr int IDOK = 1;
constexpr UINT MB_OK = 0x0000;
constexpr int VK_ESCAPE = 0x1B;

// Window class and window styles.
constexpr UINT CS_VREDRAW = 0x0001;
constexpr UINT CS_HREDRAW = 0x0002;
constexpr UINT CS_OWNDC = 0x0020;
constexpr DWORD WS_POPUP = 0x80000000u;
constexpr HBRUSH BLACK_BRUSH = 4;

constexpr LPARAM MAKELPARAM(int low, int high) {
  return static_cast<LPARAM>((static_cast<std::uint32_t>(high & 0xFFFF) << 16) |
                             static_cast<std::uint32_t>(low & 0xFFFF));
}
constexpr int LOWORD(LPARAM value) { return static_cast<int>(value & 0xFFFF); }
constexpr int HIWORD(LPARAM value) { return static_cast<int>((value >> 16) & 0xFFFF); }

struct RECT {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

class CRect : public RECT {
 public:
  CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
};

struct MSG {
  HWND hwnd = nullptr;
  UINT message = WM_NULL;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
};

class CWnd;

struct CREATESTRUCT {
  void* lpCreateParams = nullptr;
  CWnd* hwndParent = nullptr;
  UINT id = 0;
  int cy = 0;
  int cx = 0;
  int y = 0;
  int x = 0;
  DWORD style = 0;
  const char* lpszName = nullptr;
  const char* lpszClass = nullptr;
  DWORD dwExStyle = 0;
};
