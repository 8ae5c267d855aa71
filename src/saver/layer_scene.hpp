// The saver on a Wayland desktop's layers (--background, --overlay): the
// scene on a layer-shell surface of each output, without a window of the
// framework's, paced by the compositor's frame callbacks and the -delay.
#pragma once

#include "saver/saver_options.hpp"

// Runs until SIGTERM or (on the overlay) the first input: 0 then. 1, said in
// one line, where the compositor has no layer shell and when it goes away.
int RunSceneOnLayers(const SaverOptions& options);
