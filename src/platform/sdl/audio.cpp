#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/platform.hpp"
#include "platform/pulse/server_probe.hpp"
#include "platform/sdl/audio_drivers.hpp"
#include "platform/sdl/mixer_audio.hpp"
#include "platform/sdl/quiet_libraries.hpp"
#include "platform/sdl/state.hpp"

namespace platform {
namespace {
// Samples per mixing buffer: about 23 ms at 44.1 kHz, so Stop is heard at once.
constexpr int kChunkSamples = 1024;

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

// The longest a sound server may take to show it can play: a healthy one
// takes some milliseconds.
constexpr auto kServerProbeLimit = std::chrono::seconds(2);

// Tells SDL which audio drivers to try this time; false when none can play.
bool ChooseAudioDrivers() {
  const char* asked = std::getenv("SDL_AUDIODRIVER");
  const std::string_view askedList = asked ? asked : "";
  if (!State().policy.quirks.sdlPulseNeedsProbe || !WouldTryPulse(askedList)) return true;
  const std::string drivers = AudioDriversToTry(
      askedList, pulse::ProbeServer(kServerProbeLimit, TerminationRequested));
  if (drivers.empty()) return false;
  SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, drivers.c_str(), SDL_HINT_OVERRIDE);
  return true;
}

// Runs on the mixer's thread after each buffer is mixed: the device plays
// silence while the library is stopped.
void ClearBuffer(void*, Uint8* stream, int length) {
  std::memset(stream, 0, static_cast<std::size_t>(length));
}
}  // namespace

SdlMixerLibrary::~SdlMixerLibrary() { Free(); }

bool SdlMixerLibrary::Init(int device, std::uint32_t rate, std::uint32_t flags, Window*) {
  if (m_initialised) return Fail(kAudioAlreadyInitialised);
  if (rate == 0 || rate > 384000) return Fail(kAudioBadArgument);
  QuietSoundLibraries();
  if (!ChooseAudioDrivers() || SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return Fail(kAudioNoDevice);
  if (!OpenOutput(device, static_cast<int>(rate), (flags & kAudioMono) ? 1 : 2)) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return Fail(kAudioNoDevice);
  }
  // Loads the MP3 decoder now rather than at the first file.
  Mix_Init(MIX_INIT_MP3);
  m_initialised = true;
  return Succeed();
}

bool SdlMixerLibrary::Start() {
  if (!m_initialised) return Fail(kAudioNotInitialised);
  Silence(false);
  return Succeed();
}

std::uint32_t SdlMixerLibrary::StreamCreateFile(bool fromMemory, const char* file,
                                                std::uint64_t offset, std::uint64_t length,
                                                std::uint32_t flags) {
  if (!m_initialised) return FailHandle(kAudioNotInitialised);
  if (fromMemory || !file || offset != 0 || length != 0 || flags != 0)
    return FailHandle(kAudioBadArgument);
  const std::string path = ToPlatformPath(file);
  if (!CanOpen(path)) return FailHandle(kAudioFileOpen);
  Mix_Music* music = Mix_LoadMUS(path.c_str());
  if (!music) return FailHandle(kAudioFileFormat);
  const std::uint32_t handle = NewHandle();
  m_streams[handle] = music;
  Succeed();
  return handle;
}

bool SdlMixerLibrary::StreamPlay(std::uint32_t stream, bool flush, std::uint32_t flags) {
  if (!m_initialised) return Fail(kAudioNotInitialised);
  Mix_Music* music = Find(stream);
  if (!music || (flags & ~kAudioLoop) != 0) return Fail(kAudioBadArgument);
  if (stream == m_playing && Mix_PlayingMusic() && !flush) return Succeed();
  if (Mix_PlayMusic(music, (flags & kAudioLoop) ? -1 : 1) != 0) return Fail(kAudioUnknown);
  m_playing = stream;
  return Succeed();
}

bool SdlMixerLibrary::Stop() {
  if (!m_initialised) return Fail(kAudioNotInitialised);
  Mix_HaltMusic();
  m_playing = 0;
  Silence(true);
  return Succeed();
}

bool SdlMixerLibrary::StreamFree(std::uint32_t stream) {
  if (!m_initialised) return Fail(kAudioNotInitialised);
  Mix_Music* music = Find(stream);
  if (!music) return Fail(kAudioBadArgument);
  if (stream == m_playing) m_playing = 0;
  Mix_FreeMusic(music);  // halts it first when it is playing
  m_streams.erase(stream);
  return Succeed();
}

bool SdlMixerLibrary::Free() {
  if (!m_initialised) return Fail(kAudioNotInitialised);
  Mix_HaltMusic();
  for (const auto& entry : m_streams) Mix_FreeMusic(entry.second);
  m_streams.clear();
  m_playing = 0;
  Mix_CloseAudio();
  Mix_Quit();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  m_initialised = false;
  return Succeed();
}

bool SdlMixerLibrary::OpenOutput(int device, int rate, int channels) {
  const char* name = nullptr;
  if (device != kAudioDefaultDevice) {
    if (device < 1 || device > SDL_GetNumAudioDevices(0)) return false;
    name = SDL_GetAudioDeviceName(device - 1, 0);
  }
  return Mix_OpenAudioDevice(rate, AUDIO_S16SYS, channels, kChunkSamples, name, 0) == 0;
}

// The hook is set under the mixer's lock, so the next buffer already obeys.
void SdlMixerLibrary::Silence(bool silent) { Mix_SetPostMix(silent ? ClearBuffer : nullptr, nullptr); }

Mix_Music* SdlMixerLibrary::Find(std::uint32_t stream) const {
  const auto found = m_streams.find(stream);
  return found == m_streams.end() ? nullptr : found->second;
}

// Handles count up from 1 and are never reused until Shutdown
// (0 is skipped when the count wraps).
std::uint32_t SdlMixerLibrary::NewHandle() {
  if (m_nextHandle == 0) ++m_nextHandle;
  return m_nextHandle++;
}

bool SdlMixerLibrary::Succeed() {
  m_error = kAudioOk;
  return true;
}

bool SdlMixerLibrary::Fail(int code) {
  m_error = code;
  return false;
}

std::uint32_t SdlMixerLibrary::FailHandle(int code) {
  m_error = code;
  return 0;
}

AudioLibrary& SdlMixerAudio() { return State().audio; }

}  // namespace platform
