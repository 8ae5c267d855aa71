#include "framework/winapp.hpp"
#include "platform/platform.hpp"

int main(int argc, char** argv) {
  // Before anything opens a descriptor: a program started with closed
  // standard streams must not get its display connection as "stderr".
  // The display guard, a copy of the program, ends in there.
  platform::PrepareProcess(argc, argv);
  return AfxWinMain();
}
