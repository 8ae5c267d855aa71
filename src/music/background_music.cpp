#include "music/background_music.hpp"

#include <cstdio>

namespace {
constexpr std::uint32_t kOutputRate = 44100;
constexpr const char* kMusicFile = "Data\\music.mp3";
}  // namespace

ShowBox MessageBoxesOf(CWnd& window) {
  return [&window](const char* text) { window.MessageBox(text, nullptr, MB_OK); };
}

std::string NoMusicText(int errorCode) {
  char text[64];
  std::snprintf(text, sizeof text, "Keine Musik!!!!!!!! Error %d", errorCode);
  return text;
}

std::uint32_t StartBackgroundMusic(AudioLibrary& audio, HWND owner, const ShowBox& showBox) {
  if (!audio.Init(kAudioDefaultDevice, kOutputRate, kAudioMono, owner))
    showBox("Fehler!");
  if (!audio.Start()) showBox("Fehler! Start()");
  const std::uint32_t stream = audio.StreamCreateFile(false, kMusicFile, 0, 0, 0);
  // The error code belongs to the latest call: read it before any other.
  if (stream == 0) showBox(NoMusicText(audio.ErrorGetCode()).c_str());
  audio.StreamPlay(stream, false, kAudioLoop);
  return stream;
}

void StopBackgroundMusic(AudioLibrary& audio, std::uint32_t stream) {
  audio.Stop();
  audio.StreamFree(stream);
  audio.Free();
}
