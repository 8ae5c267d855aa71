#include "scene/scene_random.hpp"

namespace {
// The one state of the process; constant-initialised, so it is 1 before any
// code runs, and nothing ever sets it back.
std::uint32_t g_sceneRandomState = 1;
}  // namespace

int SceneRandom() {
  g_sceneRandomState = scene_random::NextState(g_sceneRandomState);
  return scene_random::ValueOf(g_sceneRandomState);
}
