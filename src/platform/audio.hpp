// Sound output for the background music, on SDL2_mixer: the default output
// device, 16-bit, and one music file at a time, streamed from disk while it
// plays; no other devices, sound effects, volume or seeking.
#pragma once

namespace platform {

// Opens the default output device, 16-bit at `rate` Hz with `channels` (1
// or 2); false when no device can play, or the output is open already.
bool OpenSound(int rate, int channels);

enum class MusicLoad {
  Loaded,
  CannotOpen,  // missing, unreadable or no regular file
  NotMusic,    // opens, but is no playable music (or the output is closed)
};

// Opens the music file at `path` for playing, in place of the one before.
MusicLoad LoadMusic(const char* path);
enum class Playback {
  Stopped,  // silent at once; the music stays loaded
  Once,     // from its start to its end
  Looping,  // from its start, without end
};

// Sets the loaded music playing or stops it; false when asked to play with
// none loaded, or when the mixer refuses.
bool SetPlayback(Playback playback);
// Frees the music and closes the output device, as Shutdown does too.
void CloseSound();

}  // namespace platform
