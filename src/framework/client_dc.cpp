#include "framework/client_dc.hpp"

#include "framework/wnd.hpp"

// Windows of the program have their own device context, which is the system
// window itself; releasing it leaves nothing to free.
CClientDC::CClientDC(CWnd* window) : m_hDC(window ? window->m_hWnd : nullptr) {}

CClientDC::~CClientDC() = default;
