// The libraries under SDL's sound write lines of their own to the terminal
// that say nothing a user can act on: ALSA ("ALSA lib confmisc.c:855: ...")
// on every start without a sound card, libmpg123 ("Note: Illegal
// Audio-MPEG-Header ...") for a damaged music file. The music's failures
// are told by its message boxes; these lines are kept off the terminal.
//
// Does:
//  - give ALSA an error handler that drops the lines (libasound stays
//    loaded for the rest of the process, so the handler stays)
//  - make every libmpg123 decoder SDL2_mixer creates a quiet one: the
//    program defines mpg123_new and exports it, so SDL2_mixer's calls reach
//    it; it asks libmpg123's own for the decoder and sets MPG123_QUIET
// Does not:
//  - touch SDL's own messages, or undo any of it at Shutdown
#pragma once

namespace platform {

// Before SDL's audio starts; safe to call more than once.
void QuietSoundLibraries();

}  // namespace platform
