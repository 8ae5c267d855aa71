#include "framework/gl_calls.hpp"

#include <map>
#include <utility>

#include "framework/wnd.hpp"

namespace {
// Surfaces SetPixelFormat opened, until CreateGLContext hands them out.
std::map<HDC, HGLRC> g_opened;
HGLRC g_current = nullptr;
int g_currentPacedRate = 0;  // what the current context's surface said when it opened
std::function<void()> g_beforeSwap;
}  // namespace

int ChoosePixelFormat(HDC dc, const PixelFormatRequest&) { return dc ? 1 : 0; }

bool SetPixelFormat(HDC dc, int index, const PixelFormatRequest& request) {
  if (index != 1) return false;
  if (g_opened.count(dc)) return true;
  const platform::OpenedSurface opened = platform::OpenSurface(dc, request);
  CWnd::NoteClientArea(dc, opened.area);
  if (!opened.surface) return false;
  g_opened[dc] = g_current = opened.surface;
  g_currentPacedRate = opened.pacedRate;
  return true;
}

HGLRC CreateGLContext(HDC dc) {
  auto opened = g_opened.extract(dc);
  return opened ? opened.mapped() : nullptr;
}

bool MakeGLContextCurrent(HDC, HGLRC context) {
  if (!context) g_current = nullptr;
  return context == g_current;
}

void DeleteGLContext(HGLRC context) {
  if (context == g_current) g_current = nullptr;
  platform::CloseSurface(context);
}

bool HasCurrentGLContext() { return g_current != nullptr; }

int CurrentGLContextPacedRate() { return g_current ? g_currentPacedRate : 0; }

bool SwapWindowBuffers(HDC dc) {
  if (dc && g_beforeSwap) g_beforeSwap();
  return platform::Present(dc);
}

void SetBeforeSwapObserver(std::function<void()> observer) { g_beforeSwap = std::move(observer); }
