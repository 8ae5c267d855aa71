// SDL2_mixer, loaded when music first starts rather than with the program:
// its decoders pull in some twenty further libraries that a run without
// music, the capture tool and the tests need not load.
//
// Does:
//  - load SDL2_mixer 2.x by its soname, on first use after each Init
// Does not:
//  - unload it: it stays in the process once loaded
//  - use any other major version
#pragma once

#include <SDL_mixer.h>

namespace platform {

// The SDL2_mixer calls the audio library makes, each once: the table below
// declares the members and drives the look-up.
#define WINTERHAIN_MIXER_CALLS(X)             \
  X(OpenAudioDevice, "Mix_OpenAudioDevice")   \
  X(Init, "Mix_Init")                         \
  X(LoadMUS, "Mix_LoadMUS")                   \
  X(PlayingMusic, "Mix_PlayingMusic")         \
  X(PlayMusic, "Mix_PlayMusic")               \
  X(HaltMusic, "Mix_HaltMusic")               \
  X(FreeMusic, "Mix_FreeMusic")               \
  X(SetPostMix, "Mix_SetPostMix")             \
  X(CloseAudio, "Mix_CloseAudio")             \
  X(Quit, "Mix_Quit")

class MixerLibrary {
 public:
  MixerLibrary() = default;
  ~MixerLibrary();
  MixerLibrary(const MixerLibrary&) = delete;
  MixerLibrary& operator=(const MixerLibrary&) = delete;

  // Loads SDL2_mixer on the first call; false (and a line on stderr, once)
  // when it is missing or lacks one of the calls.
  bool Load();

#define WINTERHAIN_DECLARE_MIXER_CALL(name, symbol) decltype(&Mix_##name) name = nullptr;
  WINTERHAIN_MIXER_CALLS(WINTERHAIN_DECLARE_MIXER_CALL)
#undef WINTERHAIN_DECLARE_MIXER_CALL

 private:
  bool ResolveAll();

  void* m_handle = nullptr;
  bool m_tried = false;
};

}  // namespace platform
