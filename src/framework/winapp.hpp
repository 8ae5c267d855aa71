// The application object: start-up, the message loop and the end.
#pragma once

#include <string>

#include "framework/msgmap.hpp"

class CWnd;

class CWinApp : public CCmdTarget {
 public:
  // With no name, the title comes from the application-title string.
  explicit CWinApp(const char* appName = nullptr);
  ~CWinApp() override;
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  const char* m_pszAppName = nullptr;
  CWnd* m_pMainWnd = nullptr;

  virtual BOOL InitApplication();
  virtual BOOL InitInstance();
  // The plain message loop: pump until WM_QUIT, then ExitInstance().
  virtual int Run();
  // Takes one message (waiting for one); FALSE for WM_QUIT.
  virtual BOOL PumpMessage();
  // The exit code carried by WM_QUIT.
  virtual int ExitInstance();

  DECLARE_MESSAGE_MAP()

 protected:
  MSG m_msgCur;

 private:
  void LoadTitle();
  std::string m_titleStorage;
};

// The one application object, or nullptr.
CWinApp* AfxGetApp();

// The framework's start-up: the process's and the platform's, then
// InitApplication, InitInstance, Run and the framework's termination.
// Returns the process exit code.
int AfxWinMain();
