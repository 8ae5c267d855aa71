// The thread's message queue. System events (close requests, size changes,
// key presses, termination signals) arrive through it as window messages,
// after the messages posted before them.
#pragma once

#include "framework/afx_types.hpp"

// Looks at the first message numbered filterMin to filterMax (0 to 0: the
// next message of any number); with PM_REMOVE also takes it. The window
// filter is accepted for the familiar signature and must be "all".
BOOL PeekMessage(MSG* msg, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags);
// Takes the next message, waiting for one; FALSE for WM_QUIT.
BOOL GetMessage(MSG* msg, HWND window, UINT filterMin, UINT filterMax);
BOOL PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Queues WM_QUIT behind everything already posted.
void PostQuitMessage(int exitCode);
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessage(const MSG* msg);

// The 0x8000 bit if the key was down at the last look at the system's
// events, the 0x0001 bit if it went down since the previous call; only
// VK_ESCAPE is ever down.
SHORT GetAsyncKeyState(int vk);

// Drops every queued message, and what the keys' state was (used when the
// framework shuts down, with the platform's events).
void AfxClearMessageQueue();
