// The operating-system services the program needs, on Linux: the only code
// that includes SDL or Xlib headers. Nothing here knows about the scene.
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
