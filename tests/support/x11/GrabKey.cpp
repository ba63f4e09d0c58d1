// Another program holding key combinations on the root window, as a desktop tool that has taken
// them for its own hot keys. Grabs each combination exactly as given (no lock variants), prints
// "grabbed" once it holds them all, then "pressed <keycode>" for every press of one of them, and
// keeps them until it is ended.
//
//   velkora_grab_key ctrl+F12 [alt+p ...]     modifiers: ctrl, alt, shift, super; key: a keysym name

#include <X11/Xlib.h>

#include <cstdio>
#include <string>

#include <csignal>
#include <sys/prctl.h>

namespace {

bool grabFailed = false;

int recordError(Display*, XErrorEvent*)
{
    grabFailed = true;
    return 0;
}

bool parse(const std::string& spec, unsigned int& modifiers, KeySym& keysym)
{
    modifiers = 0;
    std::size_t start = 0;
    for (std::size_t plus; (plus = spec.find('+', start)) != std::string::npos; start = plus + 1) {
        const std::string name = spec.substr(start, plus - start);
        if (name == "ctrl")
            modifiers |= ControlMask;
        else if (name == "alt")
            modifiers |= Mod1Mask;
        else if (name == "shift")
            modifiers |= ShiftMask;
        else if (name == "super")
            modifiers |= Mod4Mask;
        else
            return false;
    }
    keysym = XStringToKeysym(spec.substr(start).c_str());
    return keysym != NoSymbol;
}

} // namespace

int main(int argc, char** argv)
{
    prctl(PR_SET_PDEATHSIG, SIGTERM); // ends with the test that started it
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "cannot open the display\n");
        return 2;
    }
    XSetErrorHandler(recordError);
    for (int i = 1; i < argc; ++i) {
        unsigned int modifiers = 0;
        KeySym keysym = NoSymbol;
        if (!parse(argv[i], modifiers, keysym)) {
            std::fprintf(stderr, "not a key combination: %s\n", argv[i]);
            return 2;
        }
        XGrabKey(display, XKeysymToKeycode(display, keysym), modifiers, DefaultRootWindow(display), True,
                 GrabModeAsync, GrabModeAsync);
        XSync(display, False);
        if (grabFailed) {
            std::fprintf(stderr, "%s is already held by another client\n", argv[i]);
            return 1;
        }
    }
    std::printf("grabbed\n");
    std::fflush(stdout);
    for (XEvent event;;) {
        XNextEvent(display, &event);
        if (event.type == KeyPress) {
            std::printf("pressed %u\n", event.xkey.keycode);
            std::fflush(stdout);
        }
    }
}
