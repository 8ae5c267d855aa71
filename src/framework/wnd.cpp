#include "framework/wnd.hpp"

#include <GL/gl.h>

#include <algorithm>
#include <utility>

#include "framework/message_box_presenter.hpp"
#include "framework/message_queue.hpp"
#include "framework/winapp.hpp"
#include "framework/wnd_class.hpp"
#include "platform/platform.hpp"

namespace {
std::vector<std::pair<HWND, CWnd*>> g_handleMap;

void Attach(HWND window, CWnd* object) { g_handleMap.emplace_back(window, object); }

void Detach(HWND window) {
  g_handleMap.erase(std::remove_if(g_handleMap.begin(), g_handleMap.end(),
                                   [window](const auto& entry) { return entry.first == window; }),
                    g_handleMap.end());
}
}  // namespace

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

CWnd::CWnd() = default;

CWnd::~CWnd() {
  if (m_hWnd) DestroyWindow();
}

CWnd* CWnd::FromHandlePermanent(HWND window) {
  for (const auto& [handle, object] : g_handleMap)
    if (handle == window) return object;
  return nullptr;
}

std::vector<HWND> CWnd::AllHandles() {
  std::vector<HWND> handles;
  for (const auto& entry : g_handleMap) handles.push_back(entry.first);
  return handles;
}

void CWnd::NoteClientArea(HWND window, const platform::ClientArea& area) {
  if (CWnd* object = FromHandlePermanent(window)) object->m_clientArea = area;
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT&) { return TRUE; }

BOOL CWnd::CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                    const RECT& rect, CWnd* parent, UINT id, void* param) {
  CREATESTRUCT cs;
  cs.dwExStyle = exStyle;
  cs.lpszClass = className;
  cs.lpszName = windowName;
  cs.style = style;
  cs.x = rect.left;
  cs.y = rect.top;
  cs.cx = rect.right - rect.left;
  cs.cy = rect.bottom - rect.top;
  cs.hwndParent = parent;
  cs.id = id;
  cs.lpCreateParams = param;
  if (!PreCreateWindow(cs)) return FALSE;

  const AfxWndClass* windowClass = AfxFindWndClass(cs.lpszClass);
  HWND window = platform::OpenWindow({.title = cs.lpszName ? cs.lpszName : "",
                                      .x = cs.x, .y = cs.y, .width = cs.cx, .height = cs.cy,
                                      .icon = windowClass ? windowClass->icon : nullptr});
  if (!window) return FALSE;
  m_hWnd = window;
  m_clientArea = {.width = cs.cx, .height = cs.cy};
  Attach(window, this);

  if (SendMessage(WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
    DestroyWindow();
    return FALSE;
  }
  SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(m_clientArea.width, m_clientArea.height));
  return TRUE;
}

BOOL CWnd::DestroyWindow() {
  if (!m_hWnd) return FALSE;
  HWND window = m_hWnd;
  SendMessage(WM_DESTROY);
  Detach(window);
  m_hWnd = nullptr;
  platform::CloseWindow(window);
  return TRUE;
}

BOOL CWnd::ShowWindow(int command) {
  if (!m_hWnd) return FALSE;
  if (command != SW_HIDE) platform::RequestWindow(m_hWnd, platform::WindowRequest::Show);
  return TRUE;
}

BOOL CWnd::SetForegroundWindow() {
  if (!m_hWnd) return FALSE;
  platform::RequestWindow(m_hWnd, platform::WindowRequest::Raise);
  return TRUE;
}

CWnd* CWnd::SetFocus() {
  if (m_hWnd) platform::RequestWindow(m_hWnd, platform::WindowRequest::Focus);
  return nullptr;
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::PostMessage(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return WindowProc(message, wParam, lParam);
}

int CWnd::MessageBox(const char* text, const char* caption, UINT) {
  if (!caption) caption = AfxGetApp() && AfxGetApp()->m_pszAppName ? AfxGetApp()->m_pszAppName : "";
  AfxPresentMessageBox(m_hWnd, text, caption);
  return IDOK;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  // Handlers may send messages of their own; keep the outer one for Default.
  const MSG outer = m_currentMessage;
  m_currentMessage = MSG{m_hWnd, message, wParam, lParam};
  const AFX_PMSG handler = FindMessageHandler(message);
  const LRESULT result =
      handler ? handler(this, wParam, lParam) : DefWindowProc(message, wParam, lParam);
  // A size handler points the viewport at its client area from the corner;
  // where the platform draws that area inset in a larger drawable, the
  // viewport goes there.
  const platform::ClientArea& area = m_clientArea;
  if (message == WM_SIZE && area.inset) glViewport(area.x, area.y, area.width, area.height);
  m_currentMessage = outer;
  return result;
}

LRESULT CWnd::Default() {
  return DefWindowProc(m_currentMessage.message, m_currentMessage.wParam, m_currentMessage.lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM, LPARAM) {
  if (message == WM_CLOSE) DestroyWindow();
  return 0;
}

int CWnd::OnCreate(CREATESTRUCT*) { return static_cast<int>(Default()); }
void CWnd::OnSize(UINT, int, int) { Default(); }
void CWnd::OnDestroy() { Default(); }

int ShowCursor(BOOL show) {
  static int displayCount = 0;
  const bool wasShown = displayCount >= 0;
  displayCount += show ? 1 : -1;
  if (wasShown != (displayCount >= 0))
    platform::RequestWindow(nullptr, show ? platform::WindowRequest::ShowCursor
                                          : platform::WindowRequest::HideCursor);
  return displayCount;
}
