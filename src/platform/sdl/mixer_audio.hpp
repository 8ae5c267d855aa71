// The audio library on SDL2_mixer: one output device, music streamed from
// files (SDL_mixer's "music" API reads and decodes while it plays).
//
// Does:
//  - silence the output at Stop by clearing what the mixer hands the
//    device, until Start. SDL2_mixer 2.6 keeps the id of the device it
//    opens to itself, so the device cannot be paused without guessing it.
// Does not:
//  - pause the device: while stopped it runs on, playing silence
#pragma once

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdint>
#include <map>

#include "platform/audio.hpp"

namespace platform {

class SdlMixerLibrary final : public AudioLibrary {
 public:
  SdlMixerLibrary() = default;
  // Frees what is still open, as Free does.
  ~SdlMixerLibrary() override;

  bool Init(int device, std::uint32_t rate, std::uint32_t flags, Window* owner) override;
  bool Start() override;
  std::uint32_t StreamCreateFile(bool fromMemory, const char* file, std::uint64_t offset,
                                 std::uint64_t length, std::uint32_t flags) override;
  int ErrorGetCode() override { return m_error; }
  bool StreamPlay(std::uint32_t stream, bool flush, std::uint32_t flags) override;
  bool Stop() override;
  bool StreamFree(std::uint32_t stream) override;
  bool Free() override;

 private:
  bool OpenOutput(int device, int rate, int channels);
  void Silence(bool silent);
  Mix_Music* Find(std::uint32_t stream) const;
  std::uint32_t NewHandle();
  bool Succeed();
  bool Fail(int code);
  std::uint32_t FailHandle(int code);

  bool m_initialised = false;
  std::map<std::uint32_t, Mix_Music*> m_streams;
  std::uint32_t m_nextHandle = 1;
  std::uint32_t m_playing = 0;
  int m_error = kAudioOk;
};

}  // namespace platform
