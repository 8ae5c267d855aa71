// ALSA, under SDL's sound, writes lines of its own to the terminal that say
// nothing a user can act on ("ALSA lib confmisc.c:855: ...") on every start
// without a sound card. The music's failures are told by its message boxes;
// these lines are kept off the terminal.
//
// Does:
//  - give ALSA an error handler that drops the lines (libasound stays
//    loaded for the rest of the process, so the handler stays)
// Does not:
//  - quiet the MP3 decoder: a damaged music file may show libmpg123's own
//    lines ("Note: Illegal Audio-MPEG-Header ...") beside its box
//  - touch SDL's own messages, or undo any of it at Shutdown
#pragma once

namespace platform {

// Before SDL's audio starts; safe to call more than once.
void QuietSoundLibraries();

}  // namespace platform
