// The operating-system services the program needs, on Linux: the only code
// that includes SDL or Xlib headers. Nothing here knows about the scene.
//
// Does:
//  - start SDL's video once, without SDL's own signal handlers and without
//    launching a session bus; off-screen and dummy drivers only by name and
//    only for callers that do not need the screen
//  - decide once what the desktop asks for (switch the mode or not, show
//    the design in proportion or not, where Escape is read), or what a
//    screensaver's window asks for
//  - undo in Shutdown everything the layer set up since Init (the display
//    mode, the sound device, the GL library, SDL), so it can start again
// Does not:
//  - start sound (the audio library opens its own device)
//  - retry a failed video start before Shutdown
//  - undo what holds for the whole process: the process set-up below and
//    the termination signals
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// The screensaver's window (winterhain-saver); the program has none.
enum class SaverWindow {
  NotSaver,  // the program, or a tool: not a screensaver
  Own,       // a resizable window of its own, for trying it out
  Given,     // a window another program made and hands over, by its X id
  Root,      // the X server's root window
  // Behind every window: a layer-shell surface on each Wayland output, or
  // a desktop window below all others on X11.
  Background,
  Overlay,   // above every window on each Wayland output, until a key
};

struct InitOptions {
  // Tools that render off screen never switch the display.
  bool switchDisplay = true;
  // A screensaver draws into the window it is given, or its own, and the
  // desktop's policy is a screensaver's: see desktop_policy.hpp.
  SaverWindow saverWindow = SaverWindow::NotSaver;
  unsigned long saverWindowId = 0;  // Given
  // A program seen only in its window (and ended by a key pressed there)
  // refuses video drivers that show nothing, even asked for by name.
  bool onScreenOnly = false;
};

// The process-wide set-up every way out depends on, first thing in main,
// before anything opens a descriptor. Opens /dev/null on whichever of
// descriptors 0 to 2 is closed, so no connection the program opens later
// lands there and receives what libraries write to "stderr", and has a
// write to a pipe nobody reads fail instead of ending the program. Has
// every child the program forks (SDL's boxes, its dialog programs) killed
// when the program ends, however it ends. Ends the program with status 1
// and one line instead of Xlib's dump when the X connection is lost; the
// display guard then does what can still be done.
void PrepareProcess();
// When this process was started as the program's display guard, does all
// it has to and ends it; else false. Call before anything else. The guard
// is started by posix_spawn, which runs no fork handler: it outlives the
// program.
bool RanAsDisplayGuard(int argc, char** argv);
// When a termination signal arrived (see events.hpp), ends the process by
// the first one's default action, as a program that never caught it would
// have ended: its parent sees it killed by that signal. Else returns. Call
// once everything is cleaned up; exit handlers do not run.
void EndAsSignalled();

// Starts the layer: video, and the desktop's policy. Call once at the
// program's entry; later calls report the first result. False when there is
// no display to show anything on (see LastError()).
bool Init(const InitOptions& options = {});
// Undoes everything the layer set up; safe to call more than once.
void Shutdown();
// Switches the output the scene shows on to width x height, only where the
// desktop policy switches modes (a real X server, through RandR; the
// first mode of that size, at the server's one depth), with a guard process
// that puts the desktop back should the program die first. True when the
// display now runs at that size.
bool SwitchDisplayMode(std::uint32_t width, std::uint32_t height);
// Puts the desktop back; does nothing when nothing was switched.
void RestoreDisplayMode();

// Nanoseconds of the monotonic clock, since an arbitrary start.
std::int64_t MonotonicNanoseconds();

// The last error the platform layer saw, as one readable sentence.
std::string LastError();
void SetLastError(const std::string& text);

}  // namespace platform
