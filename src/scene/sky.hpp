// The sky behind everything: one full-view quad at depth 2, dark blue at the
// top to lighter blue below (smooth shading makes the gradient).
#pragma once

// Draws it with texturing and depth testing off, as the frame sets them.
void DrawSky();
