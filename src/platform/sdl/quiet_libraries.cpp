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

// From mpg123.h (stable since libmpg123 1.0): the parameter that adds
// flags, and the flag that keeps the decoder from printing.
constexpr int kMpg123AddFlags = 2;
constexpr long kMpg123Quiet = 0x20;
constexpr int kMpg123Error = -1;
struct Mpg123Handle;
using Mpg123New = Mpg123Handle* (*)(const char* decoder, int* error);
using Mpg123Param = int (*)(Mpg123Handle*, int type, long value, double fvalue);
}  // namespace

// SDL2_mixer's decoder for MP3 music: libmpg123's, made quiet. libmpg123 is
// loaded already when SDL2_mixer, which needs it, calls this.
extern "C" __attribute__((visibility("default"))) Mpg123Handle* mpg123_new(const char* decoder,
                                                                           int* error) {
  void* library = dlopen("libmpg123.so.0", RTLD_LAZY | RTLD_LOCAL | RTLD_NOLOAD);
  auto create = library ? reinterpret_cast<Mpg123New>(dlsym(library, "mpg123_new")) : nullptr;
  auto param = library ? reinterpret_cast<Mpg123Param>(dlsym(library, "mpg123_param")) : nullptr;
  Mpg123Handle* handle = create ? create(decoder, error) : nullptr;
  if (!create && error) *error = kMpg123Error;
  if (handle && param) param(handle, kMpg123AddFlags, kMpg123Quiet, 0.0);
  if (library) dlclose(library);  // drops the reference RTLD_NOLOAD took
  return handle;
}

namespace platform {

void QuietSoundLibraries() { QuietAlsa(); }

}  // namespace platform
