// The audio library on SDL2_mixer: one output device, music streamed from
// files (SDL_mixer's "music" API reads and decodes while it plays).
#include "platform/audio.hpp"

#include <SDL.h>

#include <algorithm>
#include <bitset>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

#include "platform/mixer_library.hpp"

namespace platform {
namespace {

// Samples per mixing buffer: about 23 ms at 44.1 kHz, so Stop is heard at once.
constexpr int kChunkSamples = 1024;
// SDL hands out audio device ids from a small table; 16 covers it.
constexpr SDL_AudioDeviceID kLastDeviceId = 16;
using DeviceSet = std::bitset<kLastDeviceId + 1>;

// The ids of the audio devices open right now.
DeviceSet OpenDevices() {
  DeviceSet open;
  for (SDL_AudioDeviceID id = 1; id <= kLastDeviceId; ++id)
    open[id] = SDL_GetAudioDeviceStatus(id) != SDL_AUDIO_STOPPED;
  return open;
}

// SDL_mixer keeps the id of the device it opens to itself; it is the one that
// is open now and was not before. 0 when none is found.
SDL_AudioDeviceID NewlyOpenedDevice(const DeviceSet& before) {
  const DeviceSet added = OpenDevices() & ~before;
  for (SDL_AudioDeviceID id = 1; id <= kLastDeviceId; ++id)
    if (added[id]) return id;
  return 0;
}

// The program names its files with '\' between folders; here it is '/'.
std::string ToPlatformPath(const char* file) {
  std::string path(file);
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

bool CanOpen(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return false;
  std::FILE* stream = std::fopen(path.c_str(), "rb");
  if (!stream) return false;
  std::fclose(stream);
  return true;
}

class SdlMixerLibrary final : public AudioLibrary {
 public:
  bool Init(int device, std::uint32_t rate, std::uint32_t flags, Window*) override {
    if (m_initialised) return Fail(kAudioAlreadyInitialised);
    if (rate == 0 || rate > 384000) return Fail(kAudioBadArgument);
    // Without SDL2_mixer there is no way to sound: as if there were no device.
    m_mix = LoadMixerLibrary();
    if (!m_mix) return Fail(kAudioNoDevice);
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return Fail(kAudioNoDevice);
    if (!OpenOutput(device, static_cast<int>(rate), (flags & kAudioMono) ? 1 : 2)) {
      SDL_QuitSubSystem(SDL_INIT_AUDIO);
      return Fail(kAudioNoDevice);
    }
    // Loads the MP3 decoder now rather than at the first file.
    m_mix->Init(MIX_INIT_MP3);
    m_initialised = true;
    return Succeed();
  }

  bool Start() override {
    if (!m_initialised) return Fail(kAudioNotInitialised);
    if (m_device) SDL_PauseAudioDevice(m_device, 0);
    return Succeed();
  }

  std::uint32_t StreamCreateFile(bool fromMemory, const char* file, std::uint64_t offset,
                                 std::uint64_t length, std::uint32_t flags) override {
    if (!m_initialised) return FailHandle(kAudioNotInitialised);
    if (fromMemory || !file || offset != 0 || length != 0 || flags != 0)
      return FailHandle(kAudioBadArgument);
    const std::string path = ToPlatformPath(file);
    if (!CanOpen(path)) return FailHandle(kAudioFileOpen);
    Mix_Music* music = m_mix->LoadMUS(path.c_str());
    if (!music) return FailHandle(kAudioFileFormat);
    const std::uint32_t handle = NewHandle();
    m_streams[handle] = music;
    Succeed();
    return handle;
  }

  int ErrorGetCode() override { return m_error; }

  bool StreamPlay(std::uint32_t stream, bool flush, std::uint32_t flags) override {
    if (!m_initialised) return Fail(kAudioNotInitialised);
    Mix_Music* music = Find(stream);
    if (!music || (flags & ~kAudioLoop) != 0) return Fail(kAudioBadArgument);
    if (stream == m_playing && m_mix->PlayingMusic() && !flush) return Succeed();
    if (m_mix->PlayMusic(music, (flags & kAudioLoop) ? -1 : 1) != 0) return Fail(kAudioUnknown);
    m_playing = stream;
    return Succeed();
  }

  bool Stop() override {
    if (!m_initialised) return Fail(kAudioNotInitialised);
    m_mix->HaltMusic();
    m_playing = 0;
    if (m_device) SDL_PauseAudioDevice(m_device, 1);
    return Succeed();
  }

  bool StreamFree(std::uint32_t stream) override {
    if (!m_initialised) return Fail(kAudioNotInitialised);
    Mix_Music* music = Find(stream);
    if (!music) return Fail(kAudioBadArgument);
    if (stream == m_playing) m_playing = 0;
    m_mix->FreeMusic(music);  // halts it first when it is playing
    m_streams.erase(stream);
    return Succeed();
  }

  bool Free() override {
    if (!m_initialised) return Fail(kAudioNotInitialised);
    m_mix->HaltMusic();
    for (const auto& entry : m_streams) m_mix->FreeMusic(entry.second);
    m_streams.clear();
    m_playing = 0;
    m_mix->CloseAudio();
    m_mix->Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    m_device = 0;
    m_initialised = false;
    return Succeed();
  }

 private:
  bool OpenOutput(int device, int rate, int channels) {
    const char* name = nullptr;
    if (device != kAudioDefaultDevice) {
      if (device < 1 || device > SDL_GetNumAudioDevices(0)) return false;
      name = SDL_GetAudioDeviceName(device - 1, 0);
    }
    const DeviceSet before = OpenDevices();
    if (m_mix->OpenAudioDevice(rate, AUDIO_S16SYS, channels, kChunkSamples, name, 0) != 0)
      return false;
    m_device = NewlyOpenedDevice(before);
    return true;
  }

  Mix_Music* Find(std::uint32_t stream) const {
    const auto found = m_streams.find(stream);
    return found == m_streams.end() ? nullptr : found->second;
  }

  // Handles count up from 1 and are never reused while the process runs
  // (0 is skipped when the count wraps).
  std::uint32_t NewHandle() {
    if (m_nextHandle == 0) ++m_nextHandle;
    return m_nextHandle++;
  }

  bool Succeed() {
    m_error = kAudioOk;
    return true;
  }
  bool Fail(int code) {
    m_error = code;
    return false;
  }
  std::uint32_t FailHandle(int code) {
    m_error = code;
    return 0;
  }

  const MixerLibrary* m_mix = nullptr;  // set by the first Init that finds it
  bool m_initialised = false;
  SDL_AudioDeviceID m_device = 0;
  std::map<std::uint32_t, Mix_Music*> m_streams;
  std::uint32_t m_nextHandle = 1;
  std::uint32_t m_playing = 0;
  int m_error = kAudioOk;
};

}  // namespace

AudioLibrary& SdlMixerAudio() {
  static SdlMixerLibrary library;
  return library;
}

}  // namespace platform
