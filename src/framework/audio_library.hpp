// The audio library the background music is written against, in the call
// shapes of the one it was first written for (an output device to start and
// stop, stream handles, flags), implemented on the platform's sound output.
// The music talks to it through the AudioLibrary interface, so tests can
// record the calls it makes.
//
// Does:
//  - one output device, 16-bit, mono or stereo, at the rate asked for
//  - stream whole music files from disk, one at a time, once or looping
// Does not:
//  - streams from memory or parts of a file (offset, length)
//  - sound effects, several streams at once, volume, seeking or positions
#pragma once

#include <cstdint>

#include "framework/afx_types.hpp"

// Error codes, as ErrorGetCode() reports them for the latest call. Stable:
// they are shown to the user ("... Error 2") and documented in README.md.
enum AudioError : int {
  kAudioOk = 0,                  // the latest call succeeded
  kAudioNotInitialised = 1,      // Init has not succeeded (or Free came since)
  kAudioFileOpen = 2,            // the file cannot be opened (missing, unreadable)
  kAudioFileFormat = 3,          // the file opens but is no playable music
  kAudioNoDevice = 4,            // no such output device, or it cannot be opened
  kAudioBadArgument = 5,         // unknown stream handle or unsupported argument
  kAudioAlreadyInitialised = 6,  // Init while already initialised
  kAudioUnknown = -1,            // anything else
};

// Init: the default output device, the only one there is.
constexpr int kAudioDefaultDevice = 0;
// Init flag: one output channel instead of two.
constexpr std::uint32_t kAudioMono = 2;
// StreamPlay flag: at its end the stream starts again from the beginning.
constexpr std::uint32_t kAudioLoop = 4;

class AudioLibrary {
 public:
  virtual ~AudioLibrary() = default;

  // Opens the output device at `rate` Hz (1 to 384000), 16-bit. `owner` is
  // the window the sound belongs to (the platform needs no window for sound).
  virtual bool Init(int device, std::uint32_t rate, std::uint32_t flags, HWND owner) = 0;
  // Lets the output device run (again, after Stop).
  virtual bool Start() = 0;
  // Opens a music file for streaming; 0 on failure. Paths may use '\' as
  // separator. Only whole files from disk: fromMemory false, offset and
  // length 0 (the whole file), flags 0; anything else is kAudioBadArgument.
  // One stream at a time: while one is open, another is kAudioUnknown.
  virtual std::uint32_t StreamCreateFile(bool fromMemory, const char* file, std::uint64_t offset,
                                         std::uint64_t length, std::uint32_t flags) = 0;
  // The error code of the latest call (kAudioOk when it succeeded).
  virtual int ErrorGetCode() = 0;
  // Plays the stream; with kAudioLoop it repeats without end. `flush` starts
  // it again from the beginning when it is already playing (a single play
  // that has ended counts as playing until Stop). After Stop it starts at
  // the next Start.
  virtual bool StreamPlay(std::uint32_t stream, bool flush, std::uint32_t flags) = 0;
  // Stops whatever plays, at once, until Start.
  virtual bool Stop() = 0;
  // Closes the stream's file; the handle is invalid afterwards.
  virtual bool StreamFree(std::uint32_t stream) = 0;
  // Frees every stream and closes the output device.
  virtual bool Free() = 0;
};

// The library on the platform's sound output, one for the whole process.
AudioLibrary& SystemAudio();
