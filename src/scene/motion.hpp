// What moves from frame to frame, as arithmetic on the values the window
// keeps: the ground's turn and bob and the santa sprite's crossing. Products
// with constants are taken in double and rounded once where they are stored.
#pragma once

namespace scene {

// Turns the ground by 25 degrees per second of `frameDelta` (ms). True when
// the turn reached 360 degrees and was taken back by one full circle.
bool TurnGround(float& angle, float frameDelta);

// One bob step per frame, whatever the frame's length: the offset moves by
// the velocity, which turns round once the offset is past 1.5 either way.
void BobGround(float& offset, float& velocity);

// Moves the sprite right by one unit per second of `frameDelta` (ms). True
// when it reached x = 2 and was put back at the left edge, x = -2.
bool MoveSanta(float& x, float frameDelta);

}  // namespace scene
