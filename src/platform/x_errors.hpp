// X protocol errors are noted instead of ending the process, as Xlib's
// default handler would: an output switched off under the program or a GL
// driver the server refuses must not kill it mid-way.
//
// Does:
//  - keep the first unclaimed failure of each connection, as a phrase
// Does not:
//  - keep later failures of the same connection
//  - handle a lost connection (process.hpp ends the program for that)
#pragma once

#include <string>

struct _XDisplay;

namespace platform {

// Installs the handler for every X connection in the process; once.
void InstallXErrorHandler();
// For Shutdown, once every connection of the layer is closed: puts back the
// handler that was there before and drops unclaimed failures.
void RemoveXErrorHandler();
// Waits until the server has answered every request sent on `display` and
// tells whether any of them failed since the last call; `what` then gets
// the first failure as a readable phrase.
bool XRequestsFailed(_XDisplay* display, std::string* what = nullptr);

}  // namespace platform
