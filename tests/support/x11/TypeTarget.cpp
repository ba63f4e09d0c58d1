// A small X client that plays the other program's login field: it maps a window, takes the
// keyboard focus and reports every character it receives on standard output, one line each:
//   "<CLOCK_MONOTONIC nanoseconds> <character as UTF-8>"
// A character typed while Control or Alt was held comes with "[M]" before it. The first line is
// "ready <window id>" once the window has the focus.
//
//   velkora_type_target         plain Xlib: XLookupString, keyboard mapping refreshed on MappingNotify
//   velkora_type_target --qt    a Qt window (xkbcommon keymaps, as ordinary desktop programs read keys)

#include <QGuiApplication>
#include <QKeyEvent>
#include <QWindow>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

#include <sys/prctl.h>
#include <csignal>

namespace {

long long nowNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

void report(long long ns, const std::string& text, bool modified)
{
    std::printf("%lld %s%s\n", ns, modified ? "[M]" : "", text.c_str());
    std::fflush(stdout);
}

std::string utf8(unsigned long cp)
{
    std::string out;
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return out;
}

int runXlib()
{
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return 2;
    const int screen = DefaultScreen(display);
    const Window window = XCreateSimpleWindow(display, RootWindow(display, screen), 20, 20, 320, 60, 1,
                                              BlackPixel(display, screen), WhitePixel(display, screen));
    XStoreName(display, window, "velkora type target");
    XSelectInput(display, window, KeyPressMask | StructureNotifyMask);
    XMapWindow(display, window);
    for (XEvent event;;) {
        XNextEvent(display, &event);
        if (event.type == MapNotify)
            break;
    }
    XSetInputFocus(display, window, RevertToParent, CurrentTime);
    XSync(display, False);
    std::printf("ready %lu\n", window);
    std::fflush(stdout);

    for (XEvent event;;) {
        XNextEvent(display, &event);
        if (event.type == MappingNotify) {
            XRefreshKeyboardMapping(&event.xmapping);
            continue;
        }
        if (event.type != KeyPress)
            continue;
        const long long ns = nowNs();
        char buffer[32];
        KeySym keysym = NoSymbol;
        const int n = XLookupString(&event.xkey, buffer, sizeof buffer, &keysym, nullptr);
        std::string text;
        if (keysym >= 0x01000100 && keysym <= 0x0110FFFF)
            text = utf8(keysym - 0x01000000);
        else if (n > 0)
            for (int i = 0; i < n; ++i)
                text += utf8(static_cast<unsigned char>(buffer[i])); // Latin-1
        if (!text.empty())
            report(ns, text, event.xkey.state & (ControlMask | Mod1Mask));
    }
}

class TargetWindow : public QWindow {
protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        const long long ns = nowNs();
        const QString text = event->text();
        const QList<uint> codePoints = text.toUcs4();
        if (codePoints.isEmpty() || !QChar::isPrint(static_cast<char32_t>(codePoints.front())))
            return;
        report(ns, text.toStdString(), event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    }
    void focusInEvent(QFocusEvent*) override
    {
        if (!announced_) {
            announced_ = true;
            std::printf("ready %llu\n", static_cast<unsigned long long>(winId()));
            std::fflush(stdout);
        }
    }

private:
    bool announced_ = false;
};

int runQt(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    TargetWindow window;
    window.setGeometry(20, 100, 320, 60);
    window.show();
    window.requestActivate();
    return app.exec();
}

} // namespace

int main(int argc, char** argv)
{
    prctl(PR_SET_PDEATHSIG, SIGTERM); // ends with the test that started it
    if (argc > 1 && std::strcmp(argv[1], "--qt") == 0)
        return runQt(argc, argv);
    return runXlib();
}
