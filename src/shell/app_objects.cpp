// The program's process-wide objects, in the order they must be built: the
// application object, then the two pictures all trees share, crown first.
#include "scene/tree.hpp"
#include "shell/scene_app.hpp"

CSceneApp theApp;
CTexture CTree::s_crownTexture;
CTexture CTree::s_trunkTexture;
