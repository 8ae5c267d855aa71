// The background music's start and stop sequences, on any audio library:
// the scene window runs them with the real one, tests with a recording one.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "framework/afxwin.hpp"
#include "framework/audio_library.hpp"

// Shows one modal message box with `text` and returns once it is answered.
using ShowBox = std::function<void(const char* text)>;

// The scene window's boxes: no caption of their own (so the application
// title), one OK button.
ShowBox MessageBoxesOf(CWnd& window);

// The box text when the music file cannot be streamed.
std::string NoMusicText(int errorCode);

// Opens the output, streams "Data\music.mp3" in a loop and returns the
// stream handle (0 when it could not be created). Every failed step shows
// its box and the later steps still run.
std::uint32_t StartBackgroundMusic(AudioLibrary& audio, HWND owner, const ShowBox& showBox);

// Stops the output, frees `stream` (passed back even when it is 0) and the
// library: always all three, whatever failed before.
void StopBackgroundMusic(AudioLibrary& audio, std::uint32_t stream);
