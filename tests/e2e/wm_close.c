/*
 * wm_close: asks an X window to close, as a window manager does when the
 * user clicks the close button: sends it a WM_PROTOCOLS client message
 * carrying WM_DELETE_WINDOW. The test X server runs no window manager, and
 * xdotool only offers windowclose (XDestroyWindow) and windowkill
 * (XKillClient), which end the client instead of asking it.
 *
 * Usage: wm_close WINDOW_ID      (decimal or 0x... hexadecimal)
 * Exit status: 0 sent; 1 usage or cannot open display; 2 no such window;
 *              3 the window does not take part in WM_DELETE_WINDOW.
 *
 * Build: cc -O2 -o wm_close tests/e2e/wm_close.c -lX11
 */
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <stdio.h>
#include <stdlib.h>

static int bad_window;

static int on_error(Display *dpy, XErrorEvent *err)
{
    (void)dpy;
    if (err->error_code == BadWindow) {
        bad_window = 1;
    }
    return 0;
}

int main(int argc, char **argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: %s WINDOW_ID\n", argv[0]);
        return 1;
    }
    char *end = NULL;
    Window win = (Window)strtoul(argv[1], &end, 0);
    if (end == argv[1] || *end != '\0' || win == 0) {
        fprintf(stderr, "wm_close: bad window id '%s'\n", argv[1]);
        return 1;
    }

    Display *dpy = XOpenDisplay(NULL);
    if (!dpy) {
        fprintf(stderr, "wm_close: cannot open display\n");
        return 1;
    }
    XSetErrorHandler(on_error);

    Atom wm_protocols = XInternAtom(dpy, "WM_PROTOCOLS", False);
    Atom wm_delete = XInternAtom(dpy, "WM_DELETE_WINDOW", False);

    /* A window manager only sends WM_DELETE_WINDOW to windows that list it
     * in their WM_PROTOCOLS property; do the same, and say so otherwise. */
    Atom *protocols = NULL;
    int count = 0;
    int listed = 0;
    if (XGetWMProtocols(dpy, win, &protocols, &count)) {
        for (int i = 0; i < count; i++) {
            if (protocols[i] == wm_delete) {
                listed = 1;
            }
        }
        XFree(protocols);
    }
    XSync(dpy, False);
    if (bad_window) {
        fprintf(stderr, "wm_close: no window %s\n", argv[1]);
        XCloseDisplay(dpy);
        return 2;
    }
    if (!listed) {
        fprintf(stderr, "wm_close: window %s does not accept WM_DELETE_WINDOW\n", argv[1]);
        XCloseDisplay(dpy);
        return 3;
    }

    XEvent ev = {0};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = win;
    ev.xclient.message_type = wm_protocols;
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = (long)wm_delete;
    ev.xclient.data.l[1] = CurrentTime;
    XSendEvent(dpy, win, False, NoEventMask, &ev);
    XSync(dpy, False);
    int status = bad_window ? 2 : 0;
    XCloseDisplay(dpy);
    return status;
}
