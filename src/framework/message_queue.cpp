#include "framework/message_queue.hpp"

#include <algorithm>
#include <deque>

#include "framework/wnd.hpp"
#include "platform/platform.hpp"

namespace {
std::deque<MSG> g_queue;
// Escape as GetAsyncKeyState reports it, from the platform's events.
bool g_escapeDown = false;
bool g_escapePressed = false;  // since the last GetAsyncKeyState(VK_ESCAPE)

// Posts the message(s) a system event stands for.
void PostEvent(const platform::Event& event) {
  switch (event.kind) {
    case platform::EventKind::Close:
      PostMessage(event.window, WM_CLOSE, 0, 0);
      break;
    case platform::EventKind::Size:
      CWnd::NoteClientArea(event.window, event.area);
      PostMessage(event.window, WM_SIZE, SIZE_RESTORED,
                  MAKELPARAM(event.area.width, event.area.height));
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
    case platform::EventKind::EscapeDown:
      g_escapeDown = g_escapePressed = true;
      break;
    case platform::EventKind::EscapeUp:
      g_escapeDown = false;
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
  // As the last drain of the system's events (PeekMessage, GetMessage) left
  // it: the frame loop drains them before each frame, and draining them
  // again here would ask the X server for its key map a second time.
  const auto state = static_cast<SHORT>((g_escapeDown ? 0x8000 : 0) | (g_escapePressed ? 0x0001 : 0));
  g_escapePressed = false;
  return state;
}

BOOL PeekMessage(MSG* msg, HWND, UINT filterMin, UINT filterMax, UINT removeFlags) {
  DrainSystemEvents();
  // A range of 0 to 0 takes any message.
  const auto taken = std::find_if(g_queue.begin(), g_queue.end(), [=](const MSG& queued) {
    return (filterMin == 0 && filterMax == 0) ||
           (queued.message >= filterMin && queued.message <= filterMax);
  });
  if (taken == g_queue.end()) return FALSE;
  *msg = *taken;
  if (removeFlags & PM_REMOVE) g_queue.erase(taken);
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

void AfxClearMessageQueue() {
  g_queue.clear();
  g_escapeDown = g_escapePressed = false;
}
