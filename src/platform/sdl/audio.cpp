#include "platform/audio.hpp"

#include <SDL.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/posix/signals.hpp"
#include "platform/pulse/server_probe.hpp"
#include "platform/sdl/audio_drivers.hpp"
#include "platform/sdl/mixer_audio.hpp"
#include "platform/sdl/quiet_libraries.hpp"
#include "platform/sdl/state.hpp"

namespace platform {
namespace {
// Samples per mixing buffer: about 23 ms at 44.1 kHz, so a stop is heard at once.
constexpr int kChunkSamples = 1024;

bool CanOpen(const char* path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return false;
  std::FILE* stream = std::fopen(path, "rb");
  if (!stream) return false;
  std::fclose(stream);
  return true;
}

// The longest a sound server may take to show it can play: a healthy one
// takes some milliseconds.
constexpr auto kServerProbeLimit = std::chrono::seconds(2);

// Tells SDL which audio drivers to try this time; false when none can play.
bool ChooseAudioDrivers() {
  const std::string asked = Env("SDL_AUDIODRIVER");
  if (!State().policy.quirks.sdlPulseNeedsProbe || !WouldTryPulse(asked)) return true;
  const std::string drivers = AudioDriversToTry(
      asked, pulse::ProbeServer(kServerProbeLimit, posix::TerminationRequested));
  if (drivers.empty()) return false;
  SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, drivers.c_str(), SDL_HINT_OVERRIDE);
  return true;
}
}  // namespace

MixerSound::~MixerSound() { Close(); }

void MixerSound::FreeMusic() {
  if (!music) return;
  Mix_FreeMusic(music);  // halts it first when it is playing
  music = nullptr;
}

void MixerSound::Close() {
  FreeMusic();
  if (!open) return;
  Mix_CloseAudio();
  Mix_Quit();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  open = false;
}

bool OpenSound(int rate, int channels) {
  if (State().sound.open) return false;
  QuietSoundLibraries();
  if (!ChooseAudioDrivers() || SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  if (Mix_OpenAudioDevice(rate, AUDIO_S16SYS, channels, kChunkSamples, nullptr, 0) != 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  // Loads the MP3 decoder now rather than at the first file.
  Mix_Init(MIX_INIT_MP3);
  State().sound.open = true;
  return true;
}

MusicLoad LoadMusic(const char* path) {
  MixerSound& sound = State().sound;
  sound.FreeMusic();
  if (!path || !CanOpen(path)) return MusicLoad::CannotOpen;
  if (sound.open) sound.music = Mix_LoadMUS(path);
  return sound.music ? MusicLoad::Loaded : MusicLoad::NotMusic;
}

bool SetPlayback(Playback playback) {
  const MixerSound& sound = State().sound;
  if (playback == Playback::Stopped) {
    if (sound.open) Mix_HaltMusic();
    return true;
  }
  return sound.music && Mix_PlayMusic(sound.music, playback == Playback::Looping ? -1 : 1) == 0;
}

void CloseSound() { State().sound.Close(); }

}  // namespace platform
