// The two pictures in the sky, drawn flat at z = -2 in eye space without
// depth testing: the santa sprite and the greetings banner.
#pragma once

#include "scene/texture.hpp"

namespace scene {

// The santa picture, 0.25 x 0.2 centred on (x, y), multiplied into what is
// behind it: white leaves the sky as it was, dark darkens it. Restores the
// additive blend function and turns blending off again.
void DrawSantaSprite(CTexture& texture, float x, float y);

// The greetings picture, 0.8 x 0.2 centred on (0, 0.65), added to the sky:
// black vanishes, bright parts glow. Turns blending off again.
void DrawGreetingsBanner(CTexture& texture);

}  // namespace scene
