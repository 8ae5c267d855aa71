// The saver's process-wide objects, in the order they must be built: the
// application object, then the two pictures all trees share, crown first.
#include "saver/saver_app.hpp"
#include "scene/tree.hpp"

CSaverApp theSaverApp;
CTexture CTree::s_crownTexture;
CTexture CTree::s_trunkTexture;
