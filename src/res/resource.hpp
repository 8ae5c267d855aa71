// Numbers of the program's resources.
#pragma once

constexpr unsigned IDR_MAINFRAME = 128;  // the window icon
