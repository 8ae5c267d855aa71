#include "platform/sdl/quiet_libraries.hpp"

#include <dlfcn.h>

namespace platform {
namespace {
// libasound's handler type (alsa/error.h), without needing its headers.
using AlsaErrorHandler = void (*)(const char*, int, const char*, int, const char*, ...);

void DropAlsaLine(const char*, int, const char*, int, const char*, ...) {}
}  // namespace

void QuietSoundLibraries() {
  static void* const alsa = dlopen("libasound.so.2", RTLD_LAZY | RTLD_LOCAL);
  if (!alsa) return;
  using SetHandler = int (*)(AlsaErrorHandler);
  if (auto set = reinterpret_cast<SetHandler>(dlsym(alsa, "snd_lib_error_set_handler")))
    set(DropAlsaLine);
}

}  // namespace platform
