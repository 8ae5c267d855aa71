// X protocol errors noted instead of ending the process, as Xlib's default
// handler would: an output switched off under the program or a GL driver
// the server refuses must not kill it mid-way.
#pragma once

struct _XDisplay;

namespace platform::x11 {

// Ends the program with status 1 and one line, instead of Xlib's dump,
// when the X connection is lost.
void EndOnLostDisplayConnection();

// Holds the handler for every X connection in the process while it lives;
// puts back the one before and drops unclaimed failures when it goes.
// Made before the first connection, gone after the last.
class ErrorTrap {
 public:
  ErrorTrap() = default;
  ~ErrorTrap();
  ErrorTrap(const ErrorTrap&) = delete;
  ErrorTrap& operator=(const ErrorTrap&) = delete;
  void Install();

 private:
  bool m_installed = false;
};

// Waits until the server has answered every request sent on `display`:
// true when any failed since the last call.
bool RequestsFailed(_XDisplay* display);

}  // namespace platform::x11
