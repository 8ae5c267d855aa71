// Whether a PulseAudio server (PipeWire's pulse server counts) can play,
// asked before SDL's pulseaudio driver talks to it (Quirks::sdlPulseNeedsProbe):
// its default sink and source named, a stream readied, within a deadline.
// Reached as any client would (PULSE_SERVER, else the user's own), on the
// calling thread; never started, and nothing left behind or played.
#pragma once

#include <chrono>

namespace platform::pulse {

enum class ServerState {
  Absent,      // no server answers
  Plays,       // names its default sink and source and readies a stream
  CannotPlay,  // answers, but not so: no sink, no session manager, too slow
};

// Takes at most `limit`, and stops waiting as soon as `giveUp` returns true
// (then the server counts as CannotPlay).
ServerState ProbeServer(std::chrono::milliseconds limit, bool (*giveUp)());

}  // namespace platform::pulse
