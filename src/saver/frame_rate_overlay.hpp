// "Show frame rate" (-fps): the measured rate as a small text, white on a
// black box, in the bottom left corner of the frame, as XScreenSaver's
// hacks show theirs. Drawn with plain OpenGL 1.1 after the scene, with the
// scene's state put back afterwards.
#pragma once

// Draws "FPS: 21.4" (or "FPS: --" while `rate` is negative) over the
// current viewport. Call with the frame's context current, before the swap.
void DrawFrameRate(double rate);
