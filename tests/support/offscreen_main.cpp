// Test entry for the unit and gl tiers: whatever the host has (a desktop
// session, a sound card, dialog programs), these tests never reach it.
// Windows are made off screen on Mesa's software renderer, sound goes to
// SDL's silent driver, and message boxes are recorded, never shown.
#include <gtest/gtest.h>

#include <cstdlib>

#include "framework/message_box_presenter.hpp"

namespace {

void ForgetTheHostsDesktop() {
  for (const char* name :
       {"DISPLAY", "WAYLAND_DISPLAY", "WAYLAND_SOCKET", "DBUS_SESSION_BUS_ADDRESS"})
    unsetenv(name);
  setenv("SDL_VIDEODRIVER", "offscreen", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  setenv("LIBGL_ALWAYS_SOFTWARE", "1", 1);
}

// A test that wants boxes records them (support/recorded_boxes.hpp); any
// other box would have gone to a real display, so it fails the test.
void RefuseUnrecordedBoxes() {
  AfxSetMessageBoxPresenter([](HWND, const char* text, const char* caption) {
    ADD_FAILURE() << "a message box reached the platform: \"" << caption << ": " << text << "\"";
  });
}

}  // namespace

int main(int argc, char** argv) {
  ForgetTheHostsDesktop();
  RefuseUnrecordedBoxes();
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
