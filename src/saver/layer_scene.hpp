// The saver on a Wayland desktop's layers (--background, --overlay): the
// scene on a layer-shell surface of each output, without a window of the
// framework's, paced by the compositor's frame callbacks and the -delay.
#pragma once

#include "saver/saver_options.hpp"

// Runs until SIGTERM, the compositor's end or (on the overlay) the first
// input; 0 then, 1 where the compositor has no layer shell (said in one line).
int RunSceneOnLayers(const SaverOptions& options);
