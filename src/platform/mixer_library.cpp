#include "platform/mixer_library.hpp"

#include <dlfcn.h>

#include <cstdio>

namespace platform {
namespace {

// The run-time name of SDL2_mixer 2.x (its soname on every distribution).
constexpr const char* kMixerSoname = "libSDL2_mixer-2.0.so.0";

template <class Function>
bool Resolve(void* library, const char* name, Function& function) {
  function = reinterpret_cast<Function>(dlsym(library, name));
  return function != nullptr;
}

bool ResolveAll(void* library, MixerLibrary& mixer) {
  return Resolve(library, "Mix_OpenAudioDevice", mixer.OpenAudioDevice) &&
         Resolve(library, "Mix_Init", mixer.Init) &&
         Resolve(library, "Mix_LoadMUS", mixer.LoadMUS) &&
         Resolve(library, "Mix_PlayingMusic", mixer.PlayingMusic) &&
         Resolve(library, "Mix_PlayMusic", mixer.PlayMusic) &&
         Resolve(library, "Mix_HaltMusic", mixer.HaltMusic) &&
         Resolve(library, "Mix_FreeMusic", mixer.FreeMusic) &&
         Resolve(library, "Mix_CloseAudio", mixer.CloseAudio) &&
         Resolve(library, "Mix_Quit", mixer.Quit);
}

const MixerLibrary* Load() {
  static MixerLibrary mixer;
  void* library = dlopen(kMixerSoname, RTLD_LAZY | RTLD_LOCAL);
  if (!library) {
    std::fprintf(stderr, "winterhain: no music: %s\n", dlerror());
    return nullptr;
  }
  if (!ResolveAll(library, mixer)) {
    std::fprintf(stderr, "winterhain: no music: %s lacks a call it needs\n", kMixerSoname);
    dlclose(library);
    return nullptr;
  }
  return &mixer;
}

}  // namespace

const MixerLibrary* LoadMixerLibrary() {
  static const MixerLibrary* const loaded = Load();
  return loaded;
}

}  // namespace platform
