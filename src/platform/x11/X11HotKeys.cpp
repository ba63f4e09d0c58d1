#include "platform/x11/X11HotKeys.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <xcb/xcb.h>

namespace velkora {
namespace {

// Errors of the grab requests, collected between XSync calls. GUI thread only.
bool grabFailed = false;

int recordGrabError(Display*, XErrorEvent*)
{
    grabFailed = true; // BadAccess: another client holds the combination
    return 0;
}

// The modifier bit (Mod1 .. Mod5, or Lock) that carries `keysym` in the server's modifier map.
unsigned int modifierMaskOf(Display* display, KeySym keysym, unsigned int fallback)
{
    XModifierKeymap* map = XGetModifierMapping(display);
    if (!map)
        return fallback;
    unsigned int mask = 0;
    for (int modifier = 0; modifier < 8 && !mask; ++modifier) {
        for (int i = 0; i < map->max_keypermod; ++i) {
            const KeyCode code = map->modifiermap[modifier * map->max_keypermod + i];
            if (code && XkbKeycodeToKeysym(display, code, 0, 0) == keysym) {
                mask = 1u << modifier;
                break;
            }
        }
    }
    XFreeModifiermap(map);
    return mask ? mask : fallback;
}

} // namespace

Display* qtX11Display()
{
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (!app)
        return nullptr;
    auto* x11 = app->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->display() : nullptr;
}

std::string x11DisplayName(Display* display)
{
    return display ? std::string(DisplayString(display)) : std::string();
}

bool x11KeyFromWin32(Display* display, std::uint32_t modifiers, std::uint32_t virtualKey, X11KeyCombination& out)
{
    if (virtualKey >= 0x30 && virtualKey <= 0x39)
        out.keysym = XK_0 + (virtualKey - 0x30);
    else if (virtualKey >= 0x41 && virtualKey <= 0x5A)
        out.keysym = XK_a + (virtualKey - 0x41);
    else if (virtualKey >= 0x60 && virtualKey <= 0x69)
        out.keysym = XK_KP_0 + (virtualKey - 0x60);
    else if (virtualKey >= 0x70 && virtualKey <= 0x87)
        out.keysym = XK_F1 + (virtualKey - 0x70);
    else
        return false;

    out.modifiers = 0;
    if (modifiers & HotKeyModAlt)
        out.modifiers |= display ? modifierMaskOf(display, XK_Alt_L, Mod1Mask) : Mod1Mask;
    if (modifiers & HotKeyModControl)
        out.modifiers |= ControlMask;
    if (modifiers & HotKeyModShift)
        out.modifiers |= ShiftMask;
    if (modifiers & HotKeyModWin)
        out.modifiers |= display ? modifierMaskOf(display, XK_Super_L, Mod4Mask) : Mod4Mask;
    return true;
}

X11HotKeys::X11HotKeys(Display* display) : display_(display)
{
    if (display_) {
        root_ = DefaultRootWindow(display_);
        lockMask_ = LockMask;
        numLockMask_ = modifierMaskOf(display_, XK_Num_Lock, Mod2Mask);
    }
    if (QCoreApplication* app = QCoreApplication::instance()) {
        app->installNativeEventFilter(this);
        filterInstalled_ = true;
    }
}

X11HotKeys::~X11HotKeys()
{
    if (filterInstalled_ && QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
    if (display_) {
        for (const Grab& grab : grabs_)
            ungrabAll(grab.keycode, grab.modifiers);
        XFlush(display_);
    }
}

bool X11HotKeys::registerHotKey(int id, std::uint32_t modifiers, std::uint32_t virtualKey)
{
    if (!display_)
        return false;
    X11KeyCombination combination;
    if (!x11KeyFromWin32(display_, modifiers, virtualKey, combination))
        return false;
    const unsigned int keycode = XKeysymToKeycode(display_, combination.keysym);
    if (keycode == 0)
        return false;
    for (const Grab& grab : grabs_) {
        if (grab.keycode == keycode && grab.modifiers == combination.modifiers)
            return false; // already one of ours: a combination serves one hot key
    }
    if (!grabAll(keycode, combination.modifiers))
        return false;
    grabs_.push_back({id, keycode, combination.modifiers});
    return true;
}

bool X11HotKeys::grabAll(unsigned int keycode, unsigned int modifiers)
{
    const unsigned int variants[] = {0, lockMask_, numLockMask_, lockMask_ | numLockMask_};
    XSync(display_, False); // earlier errors still go to the handler they belong to
    grabFailed = false;
    XErrorHandler previous = XSetErrorHandler(recordGrabError);
    for (unsigned int extra : variants)
        XGrabKey(display_, static_cast<int>(keycode), modifiers | extra, root_, True, GrabModeAsync, GrabModeAsync);
    XSync(display_, False);
    const bool failed = grabFailed;
    if (failed) {
        // Some variants may have been granted; none stay. Releasing a grab that is not ours is a
        // no-op, so the other client keeps its own.
        ungrabAll(keycode, modifiers);
        XSync(display_, False);
    }
    XSetErrorHandler(previous);
    return !failed;
}

void X11HotKeys::ungrabAll(unsigned int keycode, unsigned int modifiers)
{
    const unsigned int variants[] = {0, lockMask_, numLockMask_, lockMask_ | numLockMask_};
    for (unsigned int extra : variants)
        XUngrabKey(display_, static_cast<int>(keycode), modifiers | extra, root_);
}

bool X11HotKeys::nativeEventFilter(const QByteArray& eventType, void* message, qintptr* /*result*/)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    auto* event = static_cast<xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) != XCB_KEY_PRESS)
        return false;
    auto* press = reinterpret_cast<xcb_key_press_event_t*>(event);
    return keyPressed(press->event, press->detail, press->state);
}

bool X11HotKeys::keyPressed(unsigned long window, unsigned int keycode, unsigned int state)
{
    if (window != root_)
        return false;
    const unsigned int keyModifiers = ShiftMask | LockMask | ControlMask | Mod1Mask | Mod2Mask | Mod3Mask | Mod4Mask | Mod5Mask;
    const unsigned int pressed = state & keyModifiers & ~ignoredModifiers();
    for (const Grab& grab : grabs_) {
        if (grab.keycode != keycode || grab.modifiers != pressed)
            continue;
        if (!dispatch_)
            return false;
        // Run the hot key's action from the event loop, not from inside the X event handling: the
        // action may wait processing events itself.
        if (QCoreApplication* app = QCoreApplication::instance()) {
            QMetaObject::invokeMethod(app, [dispatch = dispatch_, id = grab.id] { dispatch(id); }, Qt::QueuedConnection);
            return true;
        }
        return dispatch_(grab.id);
    }
    return false;
}

} // namespace velkora
