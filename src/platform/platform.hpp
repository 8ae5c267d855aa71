// The operating-system services the program needs, on Linux: the only code
// that includes SDL or Xlib headers. Nothing here knows about the scene.
//
// Does:
//  - start SDL's video once (sdl/video.hpp) and decide once what the desktop,
//    or a screensaver's window, asks for (sdl/desktop_policy.hpp)
//  - undo in Shutdown everything set up since Init, so it can start again
// Does not:
//  - start sound (OpenSound in audio.hpp does, on request)
//  - retry a failed video start before Shutdown
//  - undo the whole process's set-up (InitOptions::ownProcess)
#pragma once

#include <cstdint>
#include <optional>
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
  // Started by the program's or the screensaver's own process (not a test's
  // or a tool's): Init first sets the process up, once, before anything opens
  // a descriptor: standard streams held open on /dev/null, a write to a pipe
  // nobody reads fails instead of ending it, its children die with it, a lost
  // X connection ends it with one line, SIGINT, SIGTERM and SIGHUP become
  // Terminate events (the event functions handle SIGTSTP, SIGTTIN, SIGTTOU).
  bool ownProcess = false;
  // False: the process set-up alone (a screensaver on a compositor's layers).
  bool video = true;
};

// Starts the layer: video, and the desktop's policy. Call once at the
// program's entry; later calls report the first result. False when there is
// no display to show anything on (see LastError()).
bool Init(const InitOptions& options = {});
// Undoes everything the layer set up; safe to call more than once. Then a
// screensaver's own process ended by a termination signal dies of it, as a
// hack that never caught it would; no exit handlers.
void Shutdown();

struct DisplaySize {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
};

// Given a size: switches the output the scene shows on to it, only where
// the desktop policy switches modes (a real X server, through RandR; the
// first mode of that size, at the server's one depth), with a guard process
// that puts the desktop back should the program die first; true when the
// display now runs at that size. Given none: puts the desktop's own mode
// back (nothing to do when nothing was switched); true.
bool SetDisplayMode(std::optional<DisplaySize> size);

// The last error the platform layer saw, as one readable sentence.
std::string LastError();

// System windows: borderless, created hidden, shown on request.
//
// Does:
//  - place windows relative to the switched output (it need not sit at the
//    root window's origin); mark one covering it as fullscreen for the
//    window manager
//  - cover the whole output where the desktop policy says (Wayland)
//  - make the system window once: when its surface is opened, or when a
//    window without one is first shown
// Does not:
//  - title bars, resizing by the user, minimising, maximising
//  - move or resize a window after it is made

struct Window;  // opaque; one per system window

// A picture for the window icon, 32-bit 0xAARRGGBB pixels, top row first.
struct Icon {
  int width = 0;
  int height = 0;
  const std::uint32_t* pixels = nullptr;
};

struct WindowDesc {
  const char* title = "";
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  const Icon* icon = nullptr;
};

// Creates the window hidden; nullptr on failure (see LastError()), or when
// the layer has no video.
Window* OpenWindow(const WindowDesc& desc);
void CloseWindow(Window* window);

// Show maps the window, Raise and Focus put it on top and give it the
// keyboard; a window another program handed over stays as that program has
// it. The pointer is shown or hidden over every window: no window needed.
enum class WindowRequest { Show, Raise, Focus, HideCursor, ShowCursor };
void RequestWindow(Window* window, WindowRequest request);

// A window's client area: the size its frames are drawn at and, where the
// design is shown in proportion inside a larger drawable (inset), the part
// of it they fill, where the viewport goes once the frame code has set its own.
struct ClientArea {
  int x = 0, y = 0;  // from the drawable's bottom-left corner, as OpenGL counts
  int width = 0, height = 0;
  bool inset = false;
};

// OpenGL on a system window: its surface (drawable and context), presenting
// frames. A format steps down to 16 colour bits, then no depth buffer, where
// the server has nothing closer; a window another program handed over keeps
// the visual it has. Contexts are compatibility ones (immediate mode).

// What a window's OpenGL drawable must offer. Zero bits mean "none".
struct SurfaceFormat {
  bool doubleBuffer = true;
  int colorBits = 24;
  int alphaBits = 0;
  int depthBits = 16;
  int stencilBits = 0;
  int accumBits = 0;

  bool operator==(const SurfaceFormat&) const = default;
};

// A window's OpenGL context, which may outlive the window.
struct Surface;

// Gives the still-hidden window an OpenGL drawable of that format (the
// system window is made now) and makes a new context current on it. A
// window takes a format once: asked again, the same format gives another
// context, a different one fails. Where the desktop shows the design in
// proportion, frames drawn on it go into its 4:3 area from now on.
struct OpenedSurface {
  Surface* surface = nullptr;  // nullptr on failure (see LastError()): no OpenGL, or no context
  // The rate the caller paces its frames to itself: 0 where each Present
  // waits for the display's refresh; else the display's refresh rate as
  // the window opens, 60 where it does not say (Xvfb, for one).
  int pacedRate = 0;
  ClientArea area;  // the window's as it opens, or as it is where opening failed
};
OpenedSurface OpenSurface(Window* window, const SurfaceFormat& format);
// Unbinds the current context and deletes this one, before or after its
// window has gone; nullptr does nothing.
void CloseSurface(Surface* surface);

// Shows the frame drawn on the window's surface since the last one, with
// black bars around the design where it is shown in proportion. False
// when the window has no drawable.
bool Present(Window* window);

// System events, reduced to what the window layer above turns into messages.
//
// Does:
//  - Escape going down and coming up by the symbol it produces in the
//    current layout, on X11 from the server whichever window has the focus
//    (its key map read once for each drain of the events), from the moment
//    the layer starts; a press and release between two polls is both
//    reported, down first
//  - the terminal's stops (Ctrl+Z) and the window minimised: the display
//    gets the desktop's mode meanwhile and is switched again after
// Does not:
//  - mouse, focus, paint or text-input events; keys other than Escape

enum class EventKind {
  Close,      // the window manager asks the window to close
  Size,       // the window's client area changed size
  KeyDown,    // a key went down while the window had the focus
  Terminate,  // SIGINT, SIGTERM or SIGHUP arrived: close the program's windows
  // Escape went down or came up, wherever the focus is (window nullptr);
  // never where the program that handed the window over ends it.
  EscapeDown,
  EscapeUp,
};

struct Event {
  EventKind kind = EventKind::Close;
  Window* window = nullptr;  // nullptr for Terminate
  ClientArea area{};         // Size: the new one
  bool escape = false;       // KeyDown: the key was Escape
};

// Takes the next event, waiting up to timeoutMs for one (0: not at all);
// false when none came.
bool PollEvent(Event& event, int timeoutMs = 0);

// Modal message boxes with one OK button, on X11 and on Wayland (through
// SDL's dialog program); no other buttons, icons or answers.

// Shows the box owned by `owner` and waits for OK. A box without an owner,
// or not shown for certain or not answered (no display or font for it, a
// dialog program whose result cannot be trusted, as on Wayland, a box cut
// short by a termination signal) is written to stderr as "caption: text".
// Once a termination signal has come, boxes are no longer shown, only written.
void ShowBox(Window* owner, const char* text, const char* caption);

}  // namespace platform
