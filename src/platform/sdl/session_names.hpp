// What SDL tells the desktop's session about the program: its name, and
// whether it keeps the screen from blanking.
//
// Does:
//  - name the program "Winterhain" wherever SDL names its caller (the
//    screen-saver inhibit on the session bus, the sound server's client)
//  - keep the screen awake, with a true reason, only where asked: a
//    screensaver never asks the session to keep the screen awake, nor
//    simulates activity (on the session bus or through the X server)
// Does not:
//  - take effect after video has started: SDL reads these at its start
#pragma once

namespace platform {

// Call before SDL's video starts.
void NameSessionCalls(bool keepsScreenAwake);

}  // namespace platform
