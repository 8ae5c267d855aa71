#include "framework/winapp.hpp"
#include "platform/platform.hpp"

int main() {
  // Before anything opens a descriptor: a program started with closed
  // standard streams must not get its display connection as "stderr".
  platform::HoldStandardStreams();
  platform::BindChildrenToProgram();
  platform::EndOnLostDisplayConnection();
  return AfxWinMain();
}
