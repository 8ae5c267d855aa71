#include "framework/message_queue.hpp"

#include <deque>

#include "framework/wnd.hpp"
#include "platform/platform.hpp"

namespace {
std::deque<MSG> g_queue;

// Posts the message(s) a system event stands for.
void PostEvent(const platform::Event& event) {
  switch (event.kind) {
    case platform::EventKind::Close:
      PostMessage(event.window, WM_CLOSE, 0, 0);
      break;
    case platform::EventKind::Size:
      PostMessage(event.window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(event.width, event.height));
      break;
    case platform::EventKind::KeyDown: {
      const int vk = event.escape ? VK_ESCAPE : 0;
      PostMessage(event.window, WM_KEYDOWN, static_cast<WPARAM>(vk), 0);
      break;
    }
    case platform::EventKind::Terminate:
      // A termination signal closes the program like a close request would.
      for (HWND window : CWnd::AllHandles()) PostMessage(window, WM_CLOSE, 0, 0);
      break;
  }
}

void DrainSystemEvents() {
  platform::Event event;
  while (platform::PollEvent(event)) PostEvent(event);
}
}  // namespace

SHORT GetAsyncKeyState(int vk) {
  if (vk != VK_ESCAPE) return 0;
  const platform::EscapeKey escape = platform::PollEscape();
  return static_cast<SHORT>((escape.down ? 0x8000 : 0) | (escape.pressedSincePoll ? 0x0001 : 0));
}

BOOL PeekMessage(MSG* msg, HWND, UINT, UINT, UINT removeFlags) {
  DrainSystemEvents();
  if (g_queue.empty()) return FALSE;
  *msg = g_queue.front();
  if (removeFlags & PM_REMOVE) g_queue.pop_front();
  return TRUE;
}

BOOL GetMessage(MSG* msg, HWND window, UINT filterMin, UINT filterMax) {
  platform::Event event;
  while (!PeekMessage(msg, window, filterMin, filterMax, PM_REMOVE))
    if (platform::PollEvent(event, 100)) PostEvent(event);
  return msg->message != WM_QUIT;
}

BOOL PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  g_queue.push_back(MSG{window, message, wParam, lParam});
  return TRUE;
}

void PostQuitMessage(int exitCode) {
  g_queue.push_back(MSG{nullptr, WM_QUIT, static_cast<WPARAM>(exitCode), 0});
}

BOOL TranslateMessage(const MSG*) { return FALSE; }

LRESULT DispatchMessage(const MSG* msg) {
  // Messages for a window that is already gone are dropped.
  CWnd* target = CWnd::FromHandlePermanent(msg->hwnd);
  return target ? target->SendMessage(msg->message, msg->wParam, msg->lParam) : 0;
}

void AfxClearMessageQueue() { g_queue.clear(); }
