// The parts of a frame that are not objects of their own: the one-time GL
// state, the backdrop every frame starts with, and the turned and bobbing
// ground with what stands on it.
#pragma once

#include <span>

#include "scene/snowman.hpp"
#include "scene/texture.hpp"
#include "scene/tree.hpp"

namespace scene {

// Smooth shading, black clear colour, depth test (less or equal), nicest
// perspective, and additive blending as the standing blend function.
void SetUpGLState();

// Initialises the ten trees and stands them at their places on the ground.
void PlaceTrees(std::span<CTree, 10> trees);

// Clears depth only and draws the sky with depth testing and texturing off;
// texturing is on again afterwards, depth testing still off.
void DrawBackdrop();

// Turns the ground by `angle` degrees about the vertical axis through the
// eye, lowers it by 2 plus `bobOffset`, and draws it with the trees and the
// snowman on it, depth testing on. Leaves the modelview matrix as it was.
void DrawGroundScene(CTexture& groundTexture, float angle, float bobOffset,
                     std::span<CTree, 10> trees, CSnowman& snowman);

}  // namespace scene
