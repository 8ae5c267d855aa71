// The window's device context, for drawing into its client area.
#pragma once

#include "framework/afx_types.hpp"

class CWnd;

class CClientDC {
 public:
  explicit CClientDC(CWnd* window);
  virtual ~CClientDC();
  CClientDC(const CClientDC&) = delete;
  CClientDC& operator=(const CClientDC&) = delete;

  HDC m_hDC = nullptr;
};
