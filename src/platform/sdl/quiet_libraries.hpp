// ALSA, under SDL's sound, writes lines no user can act on ("ALSA lib
// confmisc.c:855: ...") to the terminal on every start without a sound
// card; the music's failures are told by its message boxes. ALSA is given
// a handler that drops them (libasound stays loaded, and so the handler
// stays). libmpg123's lines about a damaged music file ("Note: Illegal
// Audio-MPEG-Header ...") and SDL's own messages are left alone.
#pragma once

namespace platform {

// Before SDL's audio starts; safe to call more than once.
void QuietSoundLibraries();

}  // namespace platform
