#include "framework/winapp.hpp"

int main() {
  // The process is set up before anything opens a descriptor: a program
  // started with closed standard streams must not get its display
  // connection as "stderr".
  return AfxWinMain();
}
