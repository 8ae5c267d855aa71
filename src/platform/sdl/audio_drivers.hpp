// SDL's driver lists (SDL_VIDEODRIVER, SDL_AUDIODRIVER: names separated by
// commas), and which audio drivers the audio library lets SDL try:
// pulseaudio only near a server that has shown it can play
// (pulse/server_probe.hpp), pipewire (it waits without end for a stream no
// session manager links) only when asked for by name. SDL tries them itself,
// in the order given.
#pragma once

#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/pulse/server_probe.hpp"

namespace platform {

// The environment variable `name` (a driver list, a display), "" when unset.
inline std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// Whether the driver list `list` names `driver`.
bool NamesDriver(std::string_view list, std::string_view driver);

// Whether SDL, given `asked` (SDL_AUDIODRIVER; empty: SDL's own order),
// would try its pulseaudio driver, and so the server must be asked first.
bool WouldTryPulse(std::string_view asked);

// The drivers for SDL's SDL_AUDIODRIVER hint: the user's, less a pulseaudio
// that cannot play; empty when none can play. With nothing asked: the
// PulseAudio server where it plays; none where a server answers but cannot
// play (ALSA's default device leads to that same server); ALSA where no
// server answers.
std::string AudioDriversToTry(std::string_view asked, pulse::ServerState server);

}  // namespace platform
