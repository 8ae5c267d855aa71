// The window object: wraps one system window and routes its messages
// through the message map.
#pragma once

#include <vector>

#include "framework/msgmap.hpp"
#include "platform/platform.hpp"

class CWnd : public CCmdTarget {
 public:
  CWnd();
  ~CWnd() override;
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  HWND m_hWnd = nullptr;

  // Runs PreCreateWindow, makes the (hidden) system window, delivers
  // WM_CREATE (a -1 from it destroys the window and fails creation) and
  // then the first WM_SIZE with the client size: the one its surface
  // opened with, or the size it was made with.
  BOOL CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                const RECT& rect, CWnd* parent, UINT id, void* param = nullptr);
  virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
  // Delivers WM_DESTROY, then removes the system window.
  BOOL DestroyWindow();

  BOOL ShowWindow(int command);
  BOOL SetForegroundWindow();
  CWnd* SetFocus();
  BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  // Modal, one OK button; with no caption the application title is used.
  int MessageBox(const char* text, const char* caption = nullptr, UINT type = MB_OK);

  // The window object attached to a system window, or nullptr.
  static CWnd* FromHandlePermanent(HWND window);
  // Every system window that has a window object.
  static std::vector<HWND> AllHandles();
  // The platform's latest word on a system window's client area, which its
  // next WM_SIZE carries; no window object, nothing kept.
  static void NoteClientArea(HWND window, const platform::ClientArea& area);

 protected:
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // The default handling of the message being handled now.
  LRESULT Default();

  // Base handlers: default handling.
  int OnCreate(CREATESTRUCT* cs);
  void OnSize(UINT type, int cx, int cy);
  void OnDestroy();

  DECLARE_MESSAGE_MAP()

  LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

  MSG m_currentMessage;

 private:
  platform::ClientArea m_clientArea;
};

// Hides or shows the mouse pointer; returns the new display count, which
// shows the pointer while it is 0 or more.
int ShowCursor(BOOL show);
