#include "platform/sdl/mixer_library.hpp"

#include <dlfcn.h>

#include <cstdio>

namespace platform {
namespace {
// The run-time name of SDL2_mixer 2.x (its soname on every distribution).
constexpr const char* kMixerSoname = "libSDL2_mixer-2.0.so.0";
}  // namespace

MixerLibrary::~MixerLibrary() {
  if (m_handle) dlclose(m_handle);
}

bool MixerLibrary::ResolveAll() {
#define WINTERHAIN_RESOLVE_MIXER_CALL(name, symbol) \
  if (!(name = reinterpret_cast<decltype(name)>(dlsym(m_handle, symbol)))) return false;
  WINTERHAIN_MIXER_CALLS(WINTERHAIN_RESOLVE_MIXER_CALL)
#undef WINTERHAIN_RESOLVE_MIXER_CALL
  return true;
}

bool MixerLibrary::Load() {
  if (m_tried) return m_handle != nullptr;
  m_tried = true;
  // Loaded for the rest of the process once loaded: its decoders' libraries
  // keep allocations for the process's life, and loading it again after
  // Shutdown would cost the time saved at start-up.
  m_handle = dlopen(kMixerSoname, RTLD_LAZY | RTLD_LOCAL | RTLD_NODELETE);
  if (!m_handle) {
    std::fprintf(stderr, "winterhain: no music: %s\n", dlerror());
    return false;
  }
  if (!ResolveAll()) {
    std::fprintf(stderr, "winterhain: no music: %s lacks a call it needs\n", kMixerSoname);
    dlclose(m_handle);
    m_handle = nullptr;
    return false;
  }
  return true;
}

}  // namespace platform
