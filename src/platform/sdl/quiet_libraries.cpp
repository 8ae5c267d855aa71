#include "platform/sdl/quiet_libraries.hpp"

#include <dlfcn.h>

namespace {
// libasound's handler type (alsa/error.h), without needing its headers.
using AlsaErrorHandler = void (*)(const char* file, int line, const char* function, int error,
                                  const char* format, ...);

void DropAlsaLine(const char*, int, const char*, int, const char*, ...) {}

void QuietAlsa() {
  static void* const alsa = dlopen("libasound.so.2", RTLD_LAZY | RTLD_LOCAL);
  if (!alsa) return;
  using SetHandler = int (*)(AlsaErrorHandler);
  if (auto set = reinterpret_cast<SetHandler>(dlsym(alsa, "snd_lib_error_set_handler")))
    set(DropAlsaLine);
}
}  // namespace

namespace platform {

void QuietSoundLibraries() { QuietAlsa(); }

}  // namespace platform
