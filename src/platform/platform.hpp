// The operating-system services the program needs, on Linux: the only code
// that includes SDL or Xlib headers. Nothing here knows about the scene.
//
// Does:
//  - start SDL's video once, without SDL's own signal handlers and without
//    launching a session bus; off-screen and dummy drivers only by name
//  - undo in Shutdown what it and the files below set up (the audio
//    library's device included), so it can start again
// Does not:
//  - start sound (the audio library opens its own device)
//  - retry a failed video start before Shutdown
//  - undo what holds for the whole process: process.hpp's set-up, the
//    termination signals, display switching turned off by a tool
#pragma once

#include <string>

namespace platform {

// Brings up the video subsystem once; later calls report the first result.
bool InitVideo();
// Undoes everything the platform layer set up; safe to call more than once.
void Shutdown();
// The last error the platform layer saw, as one readable sentence.
std::string LastError();
void SetLastError(const std::string& text);

}  // namespace platform
