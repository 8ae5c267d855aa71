// The program's process-wide objects, constructed in this order during
// static initialisation and destroyed in reverse at exit: the application
// object, then the two pictures all trees share, crown first.
#include "scene/tree.hpp"
#include "shell/scene_app.hpp"

CSceneApp theApp;
CTexture CTree::s_crownTexture;
CTexture CTree::s_trunkTexture;
