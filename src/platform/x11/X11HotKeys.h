#pragma once
// System-wide hot keys on X11: a passive grab of the key combination on the root window, taken
// four times so that Num Lock and Caps Lock do not matter (plain, Num Lock, Caps Lock, both). The
// presses arrive on the Qt application's X connection and are picked out by a native event filter
// before Qt sees them.

#include <QAbstractNativeEventFilter>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "mainwindow/HotKeyTyping.h"

typedef struct _XDisplay Display;

namespace velkora {

// The X display of the running Qt application when it runs on X11 (xcb), otherwise nullptr
// (Wayland, offscreen, no application).
Display* qtX11Display();

// Server name of a display, e.g. ":0", for opening a second connection to it; empty for nullptr.
std::string x11DisplayName(Display* display);

// A Windows modifier set (1 Alt, 2 Control, 4 Shift, 8 Win) and virtual-key code as an X keysym and
// modifier mask. Letters, digits, F1 to F24. False when there is no counterpart.
struct X11KeyCombination {
    unsigned long keysym = 0;
    unsigned int modifiers = 0; // X modifier mask
};
bool x11KeyFromWin32(Display* display, std::uint32_t modifiers, std::uint32_t virtualKey, X11KeyCombination& out);

class X11HotKeys final : public HotKeyRegistrar, public QAbstractNativeEventFilter {
public:
    // `display` is the connection whose events Qt reads (qtX11Display()); nullptr refuses every
    // registration. With a running Qt application the filter installs itself.
    explicit X11HotKeys(Display* display);
    ~X11HotKeys() override; // releases the grabs
    X11HotKeys(const X11HotKeys&) = delete;
    X11HotKeys& operator=(const X11HotKeys&) = delete;

    // Receives the identifier of a pressed hot key; returns whether it was one (HotKeyTyping::dispatchHotKey).
    void setDispatcher(std::function<bool(int)> dispatch) { dispatch_ = std::move(dispatch); }

    bool registerHotKey(int id, std::uint32_t modifiers, std::uint32_t virtualKey) override;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

    // A key press on `window` with X `keycode` and modifier `state`: true when it was a hot key and
    // went to the dispatcher.
    bool keyPressed(unsigned long window, unsigned int keycode, unsigned int state);

private:
    struct Grab {
        int id;
        unsigned int keycode;
        unsigned int modifiers;
    };

    bool grabAll(unsigned int keycode, unsigned int modifiers);
    void ungrabAll(unsigned int keycode, unsigned int modifiers);
    unsigned int ignoredModifiers() const { return lockMask_ | numLockMask_; }

    Display* display_;
    unsigned long root_ = 0;
    unsigned int lockMask_ = 0;
    unsigned int numLockMask_ = 0;
    std::vector<Grab> grabs_;
    std::function<bool(int)> dispatch_;
    bool filterInstalled_ = false;
};

} // namespace velkora
