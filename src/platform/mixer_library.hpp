// SDL2_mixer, loaded when music first starts rather than with the program:
// its decoders pull in some twenty further libraries that a run without
// music, the capture tool and the tests need not load.
//
// Does:
//  - load SDL2_mixer 2.x by its soname, once, on first use
// Does not:
//  - unload it again, or use any other major version
#pragma once

#include <SDL_mixer.h>

namespace platform {

// The SDL2_mixer calls the audio library makes.
struct MixerLibrary {
  decltype(&Mix_OpenAudioDevice) OpenAudioDevice;
  decltype(&Mix_Init) Init;
  decltype(&Mix_LoadMUS) LoadMUS;
  decltype(&Mix_PlayingMusic) PlayingMusic;
  decltype(&Mix_PlayMusic) PlayMusic;
  decltype(&Mix_HaltMusic) HaltMusic;
  decltype(&Mix_FreeMusic) FreeMusic;
  decltype(&Mix_CloseAudio) CloseAudio;
  decltype(&Mix_Quit) Quit;
};

// Loads SDL2_mixer on the first call and keeps it loaded; nullptr (and a
// line on stderr, once) when it is missing or lacks one of the calls.
const MixerLibrary* LoadMixerLibrary();

}  // namespace platform
