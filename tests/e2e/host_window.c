/*
 * host_window: a plain window of another client, such as a screensaver's
 * preview pane, for a program to draw into: WIDTHxHEIGHT at the top left,
 * black, mapped. Prints its id (0x...) once it is mapped, then only keeps
 * its connection open; when it is killed the window goes with it.
 *
 * Usage: host_window WIDTH HEIGHT
 * Build: cc -O2 -o host_window tests/e2e/host_window.c -lX11
 */
#include <X11/Xlib.h>
#include <stdio.h>
#include <stdlib.h>

int main(int argc, char **argv) {
  if (argc != 3) {
    fprintf(stderr, "usage: host_window WIDTH HEIGHT\n");
    return 1;
  }
  Display *display = XOpenDisplay(NULL);
  if (!display) {
    fprintf(stderr, "host_window: cannot open display\n");
    return 1;
  }
  int screen = DefaultScreen(display);
  Window window = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0,
                                      (unsigned)atoi(argv[1]), (unsigned)atoi(argv[2]), 0,
                                      BlackPixel(display, screen), BlackPixel(display, screen));
  XSelectInput(display, window, StructureNotifyMask);
  XMapWindow(display, window);
  XEvent event;
  do XNextEvent(display, &event);
  while (event.type != MapNotify);
  printf("0x%lx\n", (unsigned long)window);
  fflush(stdout);
  for (;;) XNextEvent(display, &event);
}
