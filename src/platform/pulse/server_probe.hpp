// Asking a PulseAudio server, before SDL's pulseaudio driver talks to it,
// whether it can play. SDL 2.26's driver copies the server's default sink
// and source names unchecked (a server with no sink crashes it) and waits
// without end for a stream to become ready (PipeWire's pulse server with no
// session manager never makes it ready). This asks the same questions with
// a deadline. PipeWire's pulse server counts as a PulseAudio server. It is
// reached as any client would (PULSE_SERVER, else the user's own), on the
// calling thread, never started, and nothing is left behind or played.
#pragma once

#include <chrono>

namespace platform::pulse {

enum class ServerState {
  Absent,      // no server answers (none runs, or libpulse is missing)
  Plays,       // names its default sink and source and readies a stream
  CannotPlay,  // answers, but not so: no sink, no session manager, too slow
};

// Takes at most `limit`, and stops waiting as soon as `giveUp` returns true
// (then the server counts as CannotPlay).
ServerState ProbeServer(std::chrono::milliseconds limit, bool (*giveUp)());

}  // namespace platform::pulse
