// The audio library on the real SDL2_mixer. SDL's "disk" audio driver writes
// what the device would play into a file (here mono s16 at 44.1 kHz), so the
// tests can listen by reading it.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "framework/audio_library.hpp"
#include "platform/platform.hpp"
#include "platform/sdl/audio_drivers.hpp"

namespace {

namespace fs = std::filesystem;
using namespace platform;

constexpr std::size_t kRate = 44100;
// Samples per mixing buffer of the layer (its Stop may let one more out).
constexpr std::size_t kBufferSamples = 1024;

// 0.5 s of a 440 Hz sine at half scale, mono, 44.1 kHz, made with
//   sox -n -r 44100 -c 1 -b 16 tone.wav synth 0.5 sine 440 vol 0.5
//   lame --quiet -b 64 tone.wav tone-440hz-0.5s.mp3
// lame's header carries the encoder delay and padding, so it decodes to
// exactly 22050 samples and loops without a gap.
const fs::path kToneFile = fs::path(__FILE__).parent_path().parent_path() / "fixtures" /
                           "tone-440hz-0.5s.mp3";

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : m_name(name) {
    if (const char* old = std::getenv(name)) m_old = old;
    setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() {
    if (m_old) setenv(m_name, m_old->c_str(), 1);
    else unsetenv(m_name);
  }

 private:
  const char* m_name;
  std::optional<std::string> m_old;
};

// Polls `done` every 10 ms until it holds or 20 s have passed.
bool WaitUntil(const std::function<bool()>& done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

double Rms(const std::vector<std::int16_t>& samples, std::size_t from, std::size_t to) {
  double sum = 0;
  for (std::size_t i = from; i < to; ++i) sum += double(samples[i]) * samples[i];
  return to > from ? std::sqrt(sum / double(to - from)) : 0.0;
}

class AudioLayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "winterhain-audio-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir = pattern;
    capture = dir / "capture.raw";
    captureFile.emplace("SDL_DISKAUDIOFILE", capture.string());
  }
  void TearDown() override {
    audio.Free();
    fs::remove_all(dir);
  }

  bool InitMono() { return audio.Init(kAudioDefaultDevice, 44100, kAudioMono, nullptr); }

  fs::path WriteFile(const std::string& name, const std::string& bytes) {
    const fs::path path = dir / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }

  std::uint32_t Open(const fs::path& path) {
    return audio.StreamCreateFile(false, path.c_str(), 0, 0, 0);
  }

  std::vector<std::int16_t> ReadCapture() const {
    std::ifstream in(capture, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::int16_t> samples(bytes.size() / 2);
    if (!samples.empty()) std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
  }

  std::size_t CapturedSamples() const {
    std::error_code error;
    const auto size = fs::file_size(capture, error);
    return error ? 0 : size / 2;
  }

  // Index of the first sample that is not silence, once the capture holds
  // `after` more samples past it; nullopt when that never happens.
  std::optional<std::size_t> WaitForSoundAnd(std::size_t after) {
    std::optional<std::size_t> first;
    const bool arrived = WaitUntil([&] {
      const auto samples = ReadCapture();
      for (std::size_t i = 0; i < samples.size() && !first; ++i)
        if (samples[i] != 0) first = i;
      return first && samples.size() >= *first + after;
    });
    return arrived ? first : std::nullopt;
  }

  AudioLibrary& audio = SystemAudio();
  fs::path dir;
  fs::path capture;
  ScopedEnv driver{"SDL_AUDIODRIVER", "disk"};
  // The disk driver waits this many ms per buffer: a few times faster than
  // real time keeps the tests short and the capture small.
  ScopedEnv pace{"SDL_DISKAUDIODELAY", "5"};
  std::optional<ScopedEnv> captureFile;
};

TEST_F(AudioLayerTest, InitAndStartSucceed) {
  EXPECT_TRUE(InitMono());
  EXPECT_EQ(audio.ErrorGetCode(), kAudioOk);
  EXPECT_TRUE(audio.Start());
  EXPECT_EQ(audio.ErrorGetCode(), kAudioOk);
}

TEST_F(AudioLayerTest, SecondInitIsRefused) {
  ASSERT_TRUE(InitMono());
  EXPECT_FALSE(InitMono());
  EXPECT_EQ(audio.ErrorGetCode(), kAudioAlreadyInitialised);
}

TEST_F(AudioLayerTest, UnknownDriverMeansNoDeviceAndLaterCallsFail) {
  ScopedEnv unknown("SDL_AUDIODRIVER", "nonexistent");
  EXPECT_FALSE(InitMono());
  EXPECT_EQ(audio.ErrorGetCode(), kAudioNoDevice);
  EXPECT_FALSE(audio.Start());
  EXPECT_EQ(audio.ErrorGetCode(), kAudioNotInitialised);
  EXPECT_EQ(Open(kToneFile), 0u);
  EXPECT_EQ(audio.ErrorGetCode(), kAudioNotInitialised);
}

TEST_F(AudioLayerTest, UnknownDeviceNumberMeansNoDevice) {
  EXPECT_FALSE(audio.Init(1000, 44100, kAudioMono, nullptr));
  EXPECT_EQ(audio.ErrorGetCode(), kAudioNoDevice);
}

TEST_F(AudioLayerTest, MissingFileCannotBeOpened) {
  ASSERT_TRUE(InitMono());
  EXPECT_EQ(Open(dir / "no-such.mp3"), 0u);
  EXPECT_EQ(audio.ErrorGetCode(), kAudioFileOpen);
}

TEST_F(AudioLayerTest, FolderCannotBeOpened) {
  ASSERT_TRUE(InitMono());
  fs::create_directory(dir / "folder.mp3");
  EXPECT_EQ(Open(dir / "folder.mp3"), 0u);
  EXPECT_EQ(audio.ErrorGetCode(), kAudioFileOpen);
}

TEST_F(AudioLayerTest, EmptyFileIsNoPlayableFormat) {
  ASSERT_TRUE(InitMono());
  EXPECT_EQ(Open(WriteFile("empty.mp3", "")), 0u);
  EXPECT_EQ(audio.ErrorGetCode(), kAudioFileFormat);
}

TEST_F(AudioLayerTest, TextFileIsNoPlayableFormat) {
  ASSERT_TRUE(InitMono());
  std::string text;
  for (int line = 0; line < 200; ++line) text += "Frohe Weihnachten, this is no music.\n";
  EXPECT_EQ(Open(WriteFile("text.mp3", text)), 0u);
  EXPECT_EQ(audio.ErrorGetCode(), kAudioFileFormat);
}

TEST_F(AudioLayerTest, RandomBytesAreNoPlayableFormat) {
  ASSERT_TRUE(InitMono());
  std::mt19937 random(20261209);
  std::string bytes(64 * 1024, '\0');
  for (char& byte : bytes) byte = static_cast<char>(random());
  EXPECT_EQ(Open(WriteFile("random.mp3", bytes)), 0u);
  EXPECT_EQ(audio.ErrorGetCode(), kAudioFileFormat);
}

TEST_F(AudioLayerTest, OnlyWholeFilesFromDiskWithoutFlags) {
  ASSERT_TRUE(InitMono());
  const char* tone = kToneFile.c_str();
  EXPECT_EQ(audio.StreamCreateFile(true, tone, 0, 0, 0), 0u);
  EXPECT_EQ(audio.ErrorGetCode(), kAudioBadArgument);
  EXPECT_EQ(audio.StreamCreateFile(false, tone, 100, 0, 0), 0u);
  EXPECT_EQ(audio.ErrorGetCode(), kAudioBadArgument);
  EXPECT_EQ(audio.StreamCreateFile(false, tone, 0, 100, 0), 0u);
  EXPECT_EQ(audio.ErrorGetCode(), kAudioBadArgument);
  EXPECT_EQ(audio.StreamCreateFile(false, tone, 0, 0, kAudioLoop), 0u);
  EXPECT_EQ(audio.ErrorGetCode(), kAudioBadArgument);
}

TEST_F(AudioLayerTest, BackslashesSeparateFolders) {
  ASSERT_TRUE(InitMono());
  fs::create_directory(dir / "Data");
  fs::copy_file(kToneFile, dir / "Data" / "music.mp3");
  const std::string path = dir.string() + "\\Data\\music.mp3";
  EXPECT_NE(audio.StreamCreateFile(false, path.c_str(), 0, 0, 0), 0u);
  EXPECT_EQ(audio.ErrorGetCode(), kAudioOk);
}

TEST_F(AudioLayerTest, HandleZeroAndUnknownHandlesAreRefused) {
  ASSERT_TRUE(InitMono());
  EXPECT_FALSE(audio.StreamPlay(0, false, kAudioLoop));
  EXPECT_EQ(audio.ErrorGetCode(), kAudioBadArgument);
  EXPECT_FALSE(audio.StreamFree(0));
  EXPECT_EQ(audio.ErrorGetCode(), kAudioBadArgument);
  const std::uint32_t stream = Open(kToneFile);
  ASSERT_NE(stream, 0u);
  EXPECT_TRUE(audio.StreamFree(stream));
  EXPECT_FALSE(audio.StreamFree(stream));
  EXPECT_EQ(audio.ErrorGetCode(), kAudioBadArgument);
  EXPECT_FALSE(audio.StreamPlay(stream, false, 0));
  EXPECT_EQ(audio.ErrorGetCode(), kAudioBadArgument);
}

TEST_F(AudioLayerTest, CallsAfterFreeAreRefused) {
  ASSERT_TRUE(InitMono());
  const std::uint32_t stream = Open(kToneFile);
  ASSERT_NE(stream, 0u);
  ASSERT_TRUE(audio.Free());  // frees the stream as well
  EXPECT_FALSE(audio.Free());
  EXPECT_EQ(audio.ErrorGetCode(), kAudioNotInitialised);
  EXPECT_FALSE(audio.Start());
  EXPECT_FALSE(audio.StreamPlay(stream, false, kAudioLoop));
  EXPECT_FALSE(audio.Stop());
  EXPECT_FALSE(audio.StreamFree(stream));
  EXPECT_EQ(Open(kToneFile), 0u);
  EXPECT_EQ(audio.ErrorGetCode(), kAudioNotInitialised);
}

TEST_F(AudioLayerTest, InitWorksAgainAfterFree) {
  ASSERT_TRUE(InitMono());
  ASSERT_TRUE(audio.Free());
  EXPECT_TRUE(InitMono());
  EXPECT_NE(Open(kToneFile), 0u);
}

TEST_F(AudioLayerTest, LoopedStreamPlaysOnPastItsEnd) {
  ASSERT_TRUE(InitMono());
  ASSERT_TRUE(audio.Start());
  const std::uint32_t stream = Open(kToneFile);
  ASSERT_TRUE(audio.StreamPlay(stream, false, kAudioLoop));
  const auto first = WaitForSoundAnd(kRate * 3 / 2);
  ASSERT_TRUE(first);
  const auto samples = ReadCapture();
  EXPECT_GT(Rms(samples, *first, *first + kRate / 2), 5000.0);  // the tone
  EXPECT_GT(Rms(samples, *first + kRate * 7 / 10, *first + kRate * 9 / 10), 5000.0);
  EXPECT_GT(Rms(samples, *first + kRate * 12 / 10, *first + kRate * 14 / 10), 5000.0);
}

TEST_F(AudioLayerTest, StreamWithoutLoopEndsAfterTheFile) {
  ASSERT_TRUE(InitMono());
  ASSERT_TRUE(audio.Start());
  const std::uint32_t stream = Open(kToneFile);
  ASSERT_TRUE(audio.StreamPlay(stream, false, 0));
  const auto first = WaitForSoundAnd(kRate * 3 / 2);
  ASSERT_TRUE(first);
  const auto samples = ReadCapture();
  EXPECT_GT(Rms(samples, *first, *first + kRate / 2), 5000.0);
  EXPECT_EQ(Rms(samples, *first + kRate * 7 / 10, *first + kRate * 3 / 2), 0.0);
}

TEST_F(AudioLayerTest, StopSilencesTheOutputAtOnce) {
  ASSERT_TRUE(InitMono());
  ASSERT_TRUE(audio.Start());
  ASSERT_TRUE(audio.StreamPlay(Open(kToneFile), false, kAudioLoop));
  ASSERT_TRUE(WaitForSoundAnd(kRate / 10));
  ASSERT_TRUE(audio.Stop());
  // What was mixed before Stop returned may still come out: one buffer, and
  // one more the device may have taken already.
  const std::size_t silentFrom = CapturedSamples() + 2 * kBufferSamples;
  ASSERT_TRUE(WaitUntil([&] { return CapturedSamples() >= silentFrom + kRate / 2; }));
  const auto samples = ReadCapture();
  EXPECT_EQ(Rms(samples, silentFrom, samples.size()), 0.0);
}

TEST_F(AudioLayerTest, AfterStopNothingIsHeardUntilStart) {
  ASSERT_TRUE(InitMono());
  const std::uint32_t stream = Open(kToneFile);
  ASSERT_TRUE(audio.Stop());
  ASSERT_TRUE(audio.StreamPlay(stream, true, kAudioLoop));
  const std::size_t playedAt = CapturedSamples();
  ASSERT_TRUE(WaitUntil([&] { return CapturedSamples() >= playedAt + kRate / 2; }));
  EXPECT_EQ(Rms(ReadCapture(), 0, playedAt + kRate / 2), 0.0);
  ASSERT_TRUE(audio.Start());
  EXPECT_TRUE(WaitForSoundAnd(kRate / 10));
}

TEST_F(AudioLayerTest, AudioLeavesTheVideoSubsystemAlone) {
  ASSERT_TRUE(Init());
  ASSERT_TRUE(InitMono());
  ASSERT_TRUE(audio.Free());
  WindowDesc desc;
  desc.title = "after audio";
  desc.width = 64;
  desc.height = 48;
  Window* window = OpenWindow(desc);
  EXPECT_NE(window, nullptr);
  if (window) CloseWindow(window);
}

// SDL's pulseaudio driver meets only a server that has shown it can play;
// a driver the user names is kept, and so is the order of the names.
TEST(AudioDriverChoice, PulseaudioOnlyWhereTheServerPlays) {
  using pulse::ServerState;
  EXPECT_TRUE(WouldTryPulse(""));
  EXPECT_TRUE(WouldTryPulse("alsa,pulseaudio"));
  EXPECT_FALSE(WouldTryPulse("disk"));
  EXPECT_FALSE(WouldTryPulse("pulseaudio2,pipewire"));
  EXPECT_EQ(AudioDriversToTry("", ServerState::Plays), "pulseaudio");
  EXPECT_EQ(AudioDriversToTry("", ServerState::Absent), "alsa");
  EXPECT_EQ(AudioDriversToTry("", ServerState::CannotPlay), "");
  EXPECT_EQ(AudioDriversToTry("pulseaudio,alsa", ServerState::Plays), "pulseaudio,alsa");
  EXPECT_EQ(AudioDriversToTry("pulseaudio,,alsa", ServerState::CannotPlay), "alsa");
  EXPECT_EQ(AudioDriversToTry("pulseaudio", ServerState::Absent), "");
  EXPECT_EQ(AudioDriversToTry("pipewire,pulseaudio", ServerState::Absent), "pipewire");
}

}  // namespace
