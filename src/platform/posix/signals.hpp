// SIGINT, SIGTERM and SIGHUP, as the event layer and the message boxes see
// them. The public half (installing the handlers, asking whether one came)
// is declared in platform/events.hpp.
//
// Does:
//  - note the request for the event loop; end a box's process at once
// Does not:
//  - anything else inside the handler: no allocation, no locks
#pragma once

#include <sys/types.h>

namespace platform::posix {

// True once, for each termination request since the last call.
bool TakeTerminateRequest();

// The child process that shows a message box right now (0: none). A
// termination signal kills it, so that the program waiting for the box can
// go; one that came before the child was known kills it here.
void EndOnTermination(pid_t child);

}  // namespace platform::posix
