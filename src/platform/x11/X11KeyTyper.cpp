#include "platform/x11/X11KeyTyper.h"

#include <algorithm>
#include <thread>
#include <vector>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <locale.h>

extern "C" {
#include <xdo.h>
}

#include "carddata/Text.h"

namespace velkora {
namespace {

bool anyKeyDown(Display* display)
{
    char keys[32] = {};
    XQueryKeymap(display, keys);
    return std::any_of(std::begin(keys), std::end(keys), [](char byte) { return byte != 0; });
}

// UTF-8 (as gbToUtf8 makes it) to code points.
std::u32string codePoints(const std::string& utf8)
{
    std::u32string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t c = length == 1 ? lead : length == 2 ? lead & 0x1F : length == 3 ? lead & 0x0F : lead & 0x07;
        for (std::size_t k = 1; k < length && i + k < utf8.size(); ++k)
            c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        out += c;
        i += length;
    }
    return out;
}

// The keysym of a character: Latin-1 keysyms equal their code points, the others are the Unicode
// keysyms. Control characters have none.
KeySym keysymOf(char32_t c)
{
    if (c < 0x20 || (c >= 0x7F && c < 0xA0))
        return NoSymbol;
    return c < 0x100 ? static_cast<KeySym>(c) : static_cast<KeySym>(0x01000000 + c);
}

// libxdo reads the text as multibyte characters of the current locale; the text is UTF-8 whatever
// the user's locale is, so the typing thread reads it in C.UTF-8 for the duration.
class Utf8LocaleScope {
public:
    Utf8LocaleScope() : utf8_(newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr)))
    {
        if (utf8_)
            previous_ = uselocale(utf8_);
    }
    ~Utf8LocaleScope()
    {
        if (utf8_) {
            uselocale(previous_);
            freelocale(utf8_);
        }
    }
    Utf8LocaleScope(const Utf8LocaleScope&) = delete;
    Utf8LocaleScope& operator=(const Utf8LocaleScope&) = delete;

private:
    locale_t utf8_;
    locale_t previous_ = nullptr;
};

} // namespace

X11KeyTyper::X11KeyTyper(const std::string& displayName, std::chrono::microseconds characterDelay,
                         std::chrono::milliseconds releaseWait)
    : displayName_(displayName), characterDelay_(characterDelay), releaseWait_(releaseWait)
{
}

void X11KeyTyper::connect()
{
    if (connectTried_)
        return;
    connectTried_ = true;
    if (displayName_.empty())
        return;
    display_ = XOpenDisplay(displayName_.c_str());
    if (!display_)
        return;
    int unused = 0;
    if (!XTestQueryExtension(display_, &unused, &unused, &unused, &unused)) {
        XCloseDisplay(display_);
        display_ = nullptr;
        return;
    }
    reloadKeymap();
}

bool X11KeyTyper::available()
{
    connect();
    return xdo_ != nullptr;
}

X11KeyTyper::~X11KeyTyper()
{
    if (display_) {
        for (const auto& [c, binding] : bindings_) {
            KeySym none = NoSymbol;
            XChangeKeyboardMapping(display_, static_cast<int>(binding.keycode), 1, &none, 1);
        }
        XSync(display_, False);
    }
    if (xdo_)
        xdo_free(xdo_);
    if (display_)
        XCloseDisplay(display_);
}

void X11KeyTyper::reloadKeymap()
{
    if (xdo_)
        xdo_free(xdo_);
    xdo_ = xdo_new_with_opened_display(display_, nullptr, 0);
    if (xdo_)
        xdo_->quiet = 1;

    // Someone else may have reloaded the keyboard mapping: forget bindings that are gone.
    for (auto it = bindings_.begin(); it != bindings_.end();) {
        int perKeycode = 0;
        KeySym* syms = XGetKeyboardMapping(display_, static_cast<KeyCode>(it->second.keycode), 1, &perKeycode);
        const bool kept = syms && perKeycode > 0 && syms[0] == keysymOf(it->first);
        if (syms)
            XFree(syms);
        it = kept ? std::next(it) : bindings_.erase(it);
    }
}

bool X11KeyTyper::keymapChanged()
{
    bool changed = false;
    while (XPending(display_)) {
        XEvent event;
        XNextEvent(display_, &event);
        if (event.type == MappingNotify && event.xmapping.request != MappingPointer)
            changed = true;
    }
    return changed;
}

bool X11KeyTyper::typable(char32_t c) const
{
    for (int i = 0; i < xdo_->charcodes_len; ++i) {
        if (static_cast<char32_t>(xdo_->charcodes[i].key) == c)
            return true;
    }
    return false;
}

void X11KeyTyper::bindMissing(const std::u32string& text)
{
    std::u32string missing;
    for (char32_t c : text) {
        if (auto it = bindings_.find(c); it != bindings_.end())
            it->second.lastUse = typings_;
        else if (!typable(c) && keysymOf(c) != NoSymbol && missing.find(c) == std::u32string::npos)
            missing += c;
    }
    if (missing.empty())
        return;

    // Spare keycodes: no keysym at all and no modifier. Taken from the top, away from the lowest
    // one, which xdotool and libxdo use as their scratch key.
    int low = 0, high = 0;
    XDisplayKeycodes(display_, &low, &high);
    int perKeycode = 0;
    KeySym* syms = XGetKeyboardMapping(display_, static_cast<KeyCode>(low), high - low + 1, &perKeycode);
    XModifierKeymap* modifiers = XGetModifierMapping(display_);
    std::vector<unsigned int> spare;
    for (int code = low; syms && code <= high; ++code) {
        const KeySym* row = syms + static_cast<std::ptrdiff_t>(code - low) * perKeycode;
        if (std::any_of(row, row + perKeycode, [](KeySym s) { return s != NoSymbol; }))
            continue;
        bool isModifier = false;
        for (int i = 0; modifiers && i < 8 * modifiers->max_keypermod; ++i)
            isModifier = isModifier || modifiers->modifiermap[i] == code;
        if (!isModifier)
            spare.push_back(static_cast<unsigned int>(code));
    }
    if (syms)
        XFree(syms);
    if (modifiers)
        XFreeModifiermap(modifiers);
    if (!spare.empty())
        spare.erase(spare.begin()); // leave the scratch key to others

    for (char32_t c : missing) {
        unsigned int keycode = 0;
        if (!spare.empty()) {
            keycode = spare.back();
            spare.pop_back();
        } else {
            // All spare keycodes hold earlier characters: reuse the one typed longest ago.
            auto oldest = bindings_.end();
            for (auto it = bindings_.begin(); it != bindings_.end(); ++it) {
                if (text.find(it->first) == std::u32string::npos &&
                    (oldest == bindings_.end() || it->second.lastUse < oldest->second.lastUse))
                    oldest = it;
            }
            if (oldest == bindings_.end())
                break; // libxdo binds the rest one at a time
            keycode = oldest->second.keycode;
            bindings_.erase(oldest);
        }
        KeySym sym = keysymOf(c);
        XChangeKeyboardMapping(display_, static_cast<int>(keycode), 1, &sym, 1);
        bindings_[c] = {keycode, typings_};
    }
    XSync(display_, False);
    keymapChanged(); // our own change
    reloadKeymap();
}

bool X11KeyTyper::waitForKeysReleased(std::chrono::milliseconds limit)
{
    connect();
    if (!display_)
        return true;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (anyKeyDown(display_)) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(4));
    }
    return true;
}

void X11KeyTyper::typeText(const std::string& gbText)
{
    connect();
    if (!xdo_ || gbText.empty())
        return;
    ++typings_;
    waitForKeysReleased(releaseWait_);
    if (keymapChanged())
        reloadKeymap();
    if (!xdo_)
        return;

    const std::string utf8 = gbToUtf8(gbText);
    bindMissing(codePoints(utf8));
    if (!xdo_)
        return;

    // Caps Lock would turn the answer's letters into the other case: lifted while typing.
    XkbStateRec state{};
    const bool capsLocked = XkbGetState(display_, XkbUseCoreKbd, &state) == Success && (state.locked_mods & LockMask);
    if (capsLocked)
        XkbLockModifiers(display_, XkbUseCoreKbd, LockMask, 0);
    {
        Utf8LocaleScope locale;
        // libxdo pauses a quarter of the given delay after each press and each release.
        xdo_enter_text_window(xdo_, CURRENTWINDOW, utf8.c_str(), static_cast<useconds_t>(2 * characterDelay_.count()));
    }
    if (capsLocked)
        XkbLockModifiers(display_, XkbUseCoreKbd, LockMask, LockMask);
    XSync(display_, False);
}

} // namespace velkora
