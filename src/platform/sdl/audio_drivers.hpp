// Which of SDL's audio drivers the audio library lets SDL try: pulseaudio
// only near a server that has shown it can play (pulse/server_probe.hpp),
// pipewire (it waits without end for a stream no session manager links) only
// when asked for by name.
//
// Does:
//  - keep the user's SDL_AUDIODRIVER, less a pulseaudio that cannot play
// Does not:
//  - try a driver itself: SDL does, in the order given
#pragma once

#include <string>
#include <string_view>

#include "platform/pulse/server_probe.hpp"

namespace platform {

// Whether SDL, given `asked` (SDL_AUDIODRIVER; empty: SDL's own order),
// would try its pulseaudio driver, and so the server must be asked first.
bool WouldTryPulse(std::string_view asked);

// The drivers, comma-separated, for SDL's SDL_AUDIODRIVER hint; empty when
// none can play. With nothing asked: the PulseAudio server where it plays;
// none where a server answers but cannot play (ALSA's default device leads
// to that same server); ALSA where no server answers.
std::string AudioDriversToTry(std::string_view asked, pulse::ServerState server);

}  // namespace platform
