#include "framework/audio_library.hpp"

#include <algorithm>
#include <string>

#include "platform/audio.hpp"

namespace {
constexpr std::uint32_t kMaxRate = 384000;

// The music names its files with '\' between folders; the platform's paths
// have '/'.
std::string ToPlatformPath(const char* file) {
  std::string path(file);
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

int LoadFailure(platform::MusicLoad load) {
  return load == platform::MusicLoad::CannotOpen ? kAudioFileOpen : kAudioFileFormat;
}

// The stream is the platform's one music file; its handle is this layer's.
// While stopped, a stream asked to play waits for Start.
class PlatformAudioLibrary final : public AudioLibrary {
 public:
  bool Init(int device, std::uint32_t rate, std::uint32_t flags, HWND) override {
    if (m_initialised) return Fail(kAudioAlreadyInitialised);
    if (rate == 0 || rate > kMaxRate) return Fail(kAudioBadArgument);
    const int channels = (flags & kAudioMono) ? 1 : 2;
    if (device != kAudioDefaultDevice || !platform::OpenSound(static_cast<int>(rate), channels))
      return Fail(kAudioNoDevice);
    m_initialised = true;
    m_stopped = false;
    return Succeed();
  }

  bool Start() override {
    if (!m_initialised) return Fail(kAudioNotInitialised);
    m_stopped = false;
    if (m_waiting) m_playing = Play();
    m_waiting = false;
    return Succeed();
  }

  std::uint32_t StreamCreateFile(bool fromMemory, const char* file, std::uint64_t offset,
                                 std::uint64_t length, std::uint32_t flags) override {
    if (!m_initialised) return FailHandle(kAudioNotInitialised);
    if (fromMemory || !file || offset != 0 || length != 0 || flags != 0)
      return FailHandle(kAudioBadArgument);
    if (m_stream != 0) return FailHandle(kAudioUnknown);
    const platform::MusicLoad load = platform::LoadMusic(ToPlatformPath(file).c_str());
    if (load != platform::MusicLoad::Loaded) return FailHandle(LoadFailure(load));
    m_stream = NewHandle();
    Succeed();
    return m_stream;
  }

  int ErrorGetCode() override { return m_error; }

  bool StreamPlay(std::uint32_t stream, bool flush, std::uint32_t flags) override {
    if (!m_initialised) return Fail(kAudioNotInitialised);
    if (!IsOpen(stream) || (flags & ~kAudioLoop) != 0) return Fail(kAudioBadArgument);
    if (m_playing && !flush) return Succeed();
    m_loops = (flags & kAudioLoop) != 0;
    m_waiting = m_stopped;
    m_playing = m_stopped || Play();
    return m_playing ? Succeed() : Fail(kAudioUnknown);
  }

  bool Stop() override {
    if (!m_initialised) return Fail(kAudioNotInitialised);
    platform::SetPlayback(platform::Playback::Stopped);
    m_playing = m_waiting = false;
    m_stopped = true;
    return Succeed();
  }

  bool StreamFree(std::uint32_t stream) override {
    if (!m_initialised) return Fail(kAudioNotInitialised);
    if (!IsOpen(stream)) return Fail(kAudioBadArgument);
    platform::SetPlayback(platform::Playback::Stopped);
    m_stream = 0;
    m_playing = m_waiting = false;
    return Succeed();
  }

  bool Free() override {
    if (!m_initialised) return Fail(kAudioNotInitialised);
    platform::CloseSound();
    m_initialised = m_playing = m_waiting = false;
    m_stream = 0;
    return Succeed();
  }

 private:
  bool Play() const {
    return platform::SetPlayback(m_loops ? platform::Playback::Looping : platform::Playback::Once);
  }
  bool IsOpen(std::uint32_t stream) const { return stream != 0 && stream == m_stream; }

  // Handles count up from 1 and are never reused (0 is skipped when the
  // count wraps).
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

  bool m_initialised = false;
  bool m_stopped = false;  // since Stop, until Start
  bool m_playing = false;  // asked to play since the last Stop (or waiting for Start)
  bool m_waiting = false;  // asked to play while stopped
  bool m_loops = false;
  std::uint32_t m_stream = 0;
  std::uint32_t m_nextHandle = 1;
  int m_error = kAudioOk;
};
}  // namespace

AudioLibrary& SystemAudio() {
  static PlatformAudioLibrary library;
  return library;
}
