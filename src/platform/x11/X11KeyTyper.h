#pragma once
// Types text into the window that has the keyboard focus, through the XTest extension (libxdo), on
// a connection of its own. Before typing it waits until the user has let go of every key, so that
// the Alt of ALT+P neither turns digits into Alt+digit nor keeps the keyboard grabbed.
//
// A character that no key of the keyboard produces (Chinese, mostly) is first given a spare
// keycode, all of the answer's at once, and keeps it: a program reads the new keyboard mapping when
// it gets to the key event, however late. Rebinding one scratch keycode per character, as libxdo
// does on its own, loses characters in programs that fetch the mapping more slowly than the next
// character rebinds it.

#include <chrono>
#include <cstdint>
#include <map>
#include <string>

#include "mainwindow/HotKeyTyping.h"

typedef struct _XDisplay Display;
struct xdo;

namespace velkora {

class X11KeyTyper final : public KeyTyper {
public:
    // Pause after each typed character, for programs that take keys slowly.
    static constexpr std::chrono::microseconds DefaultCharacterDelay{1000};
    static constexpr std::chrono::milliseconds DefaultReleaseWait{2000};

    // `displayName` as x11DisplayName() gives it; empty or unreachable: typing does nothing. The
    // connection is opened when it is first needed, so that it costs nothing at start-up.
    explicit X11KeyTyper(const std::string& displayName,
                         std::chrono::microseconds characterDelay = DefaultCharacterDelay,
                         std::chrono::milliseconds releaseWait = DefaultReleaseWait);
    ~X11KeyTyper() override; // gives the spare keycodes back
    X11KeyTyper(const X11KeyTyper&) = delete;
    X11KeyTyper& operator=(const X11KeyTyper&) = delete;

    bool available();

    void typeText(const std::string& gbText) override;

    // Polls the keyboard until no key is down or `limit` has passed; true when all keys are up.
    bool waitForKeysReleased(std::chrono::milliseconds limit);

private:
    struct Binding {
        unsigned int keycode;
        std::uint64_t lastUse;
    };

    void connect();
    bool keymapChanged();
    void reloadKeymap();
    void bindMissing(const std::u32string& text);
    bool typable(char32_t c) const;

    std::string displayName_;
    bool connectTried_ = false;
    Display* display_ = nullptr;
    xdo* xdo_ = nullptr;
    std::chrono::microseconds characterDelay_;
    std::chrono::milliseconds releaseWait_;
    std::map<char32_t, Binding> bindings_; // characters given a spare keycode
    std::uint64_t typings_ = 0;
};

} // namespace velkora
