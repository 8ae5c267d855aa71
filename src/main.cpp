#include "framework/winapp.hpp"

int main(int argc, char** argv) {
  // The process is set up (and the display guard, a copy of the program,
  // ends) before anything opens a descriptor: a program started with closed
  // standard streams must not get its display connection as "stderr".
  return AfxWinMain(argc, argv);
}
