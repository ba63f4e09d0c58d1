#pragma once
// The two system-wide hot keys: Ctrl+F12 shows or hides the main window, ALT+P types the answers of
// the last query into the program that has the keyboard focus, one per press or, in full-input
// mode, all of them with the chosen pause after each.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "mainwindow/EventPump.h"
#include "startup/StartupSequence.h"

namespace velkora {

struct LoadedCard;
class TypingOptions;

// Modifier flags and virtual-key codes of the hot keys (the values Windows gives them).
inline constexpr std::uint32_t HotKeyModAlt = 1;
inline constexpr std::uint32_t HotKeyModControl = 2;
inline constexpr std::uint32_t HotKeyModShift = 4;
inline constexpr std::uint32_t HotKeyModWin = 8;

// Takes a key combination for the whole desktop. Key presses of a taken combination come back
// through HotKeyTyping::dispatchHotKey with the same identifier.
class HotKeyRegistrar {
public:
    virtual ~HotKeyRegistrar() = default;
    // False when the combination cannot be had (held by another program, no such key, no display).
    virtual bool registerHotKey(int id, std::uint32_t modifiers, std::uint32_t virtualKey) = 0;
};

// Types a text into the window that has the keyboard focus in the foreground program.
class KeyTyper {
public:
    virtual ~KeyTyper() = default;
    virtual void typeText(const std::string& gbText) = 0; // GB18030
};

// The main window as far as the show/hide hot key is concerned.
class ToggledWindow {
public:
    virtual ~ToggledWindow() = default;
    virtual bool isVisible() const = 0;
    virtual void show() = 0;
    virtual void hide() = 0;
};

class HotKeyTyping final : public HotKeys {
public:
    // `card` and `options` belong to the query panel; the typing reads them and advances the
    // card's next-value counter.
    HotKeyTyping(HotKeyRegistrar& registrar, KeyTyper& typer, EventPump& pump, ToggledWindow& window,
                 LoadedCard& card, const TypingOptions& options);

    bool bindHotKey(std::uint32_t modifiers, std::uint32_t virtualKey, std::function<void()> callback) override;
    void toggleMainWindow() override;
    void typeResult() override;

    // A pressed hot key; false when `id` is no registered hot key (the event is someone else's).
    bool dispatchHotKey(int id);

    std::size_t hotKeyCount() const { return table_.size(); }

private:
    struct Row {
        std::uint32_t modifiers;
        std::uint32_t virtualKey;
        std::function<void()> callback;
    };

    void typeNextAnswer();

    HotKeyRegistrar& registrar_;
    KeyTyper& typer_;
    EventPump& pump_;
    ToggledWindow& window_;
    LoadedCard& card_;
    const TypingOptions& options_;
    std::vector<Row> table_; // identifier = position + 1
};

} // namespace velkora
