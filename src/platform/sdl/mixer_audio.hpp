// The sound output on SDL2_mixer, as the layer's state holds it: whether
// the device is open, and the one music file loaded (SDL_mixer's "music"
// API reads and decodes it while it plays).
#pragma once

#include <SDL_mixer.h>

namespace platform {

struct MixerSound {
  MixerSound() = default;
  MixerSound(const MixerSound&) = delete;
  MixerSound& operator=(const MixerSound&) = delete;
  ~MixerSound();  // Close()

  void FreeMusic();
  void Close();  // the music freed, the output device closed

  bool open = false;
  Mix_Music* music = nullptr;
};

}  // namespace platform
