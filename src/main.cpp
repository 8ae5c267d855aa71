#include "framework/winapp.hpp"
#include "platform/platform.hpp"

int main(int argc, char** argv) {
  if (platform::RanAsDisplayGuard(argc, argv)) return 0;
  // Before anything opens a descriptor: a program started with closed
  // standard streams must not get its display connection as "stderr".
  platform::PrepareProcess();
  return AfxWinMain();
}
