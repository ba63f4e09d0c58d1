// Hot keys and typing against a real X server: a private Xvfb, the Qt application on it (xcb), keys
// pressed by another client (xdotool), and a type target in a separate process.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGuiApplication>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "carddata/Text.h"
#include "mainwindow/HotKeyTyping.h"
#include "mainwindow/QueryPanel.h"
#include "mainwindow/TypingOptions.h"
#include "platform/x11/QtEventPump.h"
#include "platform/x11/X11HotKeys.h"
#include "platform/x11/X11KeyTyper.h"
#include "support/Fakes.h"
#include "support/x11/XServer.h"

// Last: the X headers define macros such as None and Status.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

namespace velkora::testing {
namespace {

using namespace std::chrono_literals;

// One Xvfb and one Qt application per test program (ctest runs every test in a process of its own).
class X11Environment : public ::testing::Environment {
public:
    void SetUp() override
    {
        xvfb = std::make_unique<Xvfb>();
        qputenv("QT_QPA_PLATFORM", "xcb");
        app = std::make_unique<QGuiApplication>(argc, argv);
    }
    void TearDown() override
    {
        app.reset();
        xvfb.reset();
    }

    std::unique_ptr<Xvfb> xvfb;
    std::unique_ptr<QGuiApplication> app;

private:
    int argc = 1;
    char name[16] = "platform_x11";
    char* argv[2] = {name, nullptr};
};

X11Environment* const environment =
    static_cast<X11Environment*>(::testing::AddGlobalTestEnvironment(new X11Environment));

void press(const std::string& keys)
{
    ASSERT_EQ(runProgram({"xdotool", "key", keys}), 0) << keys;
}

// Lets Qt handle events until `done` holds or `limit` passes.
template <class Done>
bool processUntil(Done done, std::chrono::milliseconds limit = 3000ms)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= end)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

void settle(std::chrono::milliseconds period = 150ms)
{
    processUntil([] { return false; }, period);
}

// Another client on the same server.
struct OtherClient {
    OtherClient() : display(XOpenDisplay(nullptr)) {}
    ~OtherClient() { XCloseDisplay(display); }
    bool grab(KeySym keysym, unsigned int modifiers)
    {
        static bool failed;
        failed = false;
        XSync(display, False);
        auto previous = XSetErrorHandler([](Display*, XErrorEvent*) { failed = true; return 0; });
        XGrabKey(display, XKeysymToKeycode(display, keysym), modifiers, DefaultRootWindow(display), True,
                 GrabModeAsync, GrabModeAsync);
        XSync(display, False);
        XSetErrorHandler(previous);
        return !failed;
    }
    Display* display;
};

int emptyKeycodes(Display* display)
{
    int low = 0, high = 0, perKeycode = 0;
    XDisplayKeycodes(display, &low, &high);
    KeySym* syms = XGetKeyboardMapping(display, static_cast<KeyCode>(low), high - low + 1, &perKeycode);
    int empty = 0;
    for (int code = 0; code <= high - low; ++code) {
        bool none = true;
        for (int i = 0; i < perKeycode; ++i)
            none = none && syms[code * perKeycode + i] == NoSymbol;
        empty += none;
    }
    XFree(syms);
    return empty;
}

std::string toUtf8(const std::u32string& text)
{
    std::string out;
    for (char32_t c : text) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

bool capsLocked(Display* display)
{
    XkbStateRec state{};
    XkbGetState(display, XkbUseCoreKbd, &state);
    return state.locked_mods & LockMask;
}

TEST(X11HotKeys, WithoutAnX11DisplayEveryKeyIsRefused)
{
    X11HotKeys keys(nullptr);
    EXPECT_FALSE(keys.registerHotKey(1, HotKeyModAlt, 0x50));
    X11KeyTyper typer("");
    EXPECT_FALSE(typer.available());
    typer.typeText("12"); // nothing, no crash
}

TEST(X11HotKeys, WindowsKeysMapToXKeys)
{
    const struct {
        std::uint32_t modifiers, virtualKey;
        bool mapped;
        KeySym keysym;
        unsigned int mask;
    } cases[] = {
        {HotKeyModControl, 0x7B, true, XK_F12, ControlMask},
        {HotKeyModAlt, 0x50, true, XK_p, Mod1Mask},
        {HotKeyModAlt | HotKeyModShift, 0x30, true, XK_0, Mod1Mask | ShiftMask},
        {HotKeyModWin, 0x70, true, XK_F1, Mod4Mask},
        {0, 0x60, true, XK_KP_0, 0},
        {HotKeyModAlt, 0x0D, false, 0, 0}, // Enter: no counterpart here
        {HotKeyModAlt, 0x88, false, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.virtualKey);
        X11KeyCombination combination;
        ASSERT_EQ(x11KeyFromWin32(qtX11Display(), c.modifiers, c.virtualKey, combination), c.mapped);
        if (c.mapped) {
            EXPECT_EQ(combination.keysym, c.keysym);
            EXPECT_EQ(combination.modifiers, c.mask);
        }
    }
}

TEST(X11HotKeys, APressedHotKeyReachesItsIdentifierWhateverTheLocks)
{
    Display* display = qtX11Display();
    ASSERT_NE(display, nullptr);
    X11HotKeys keys(display);
    std::vector<int> fired;
    keys.setDispatcher([&](int id) { fired.push_back(id); return true; });
    ASSERT_TRUE(keys.registerHotKey(1, HotKeyModControl, 0x7B));
    ASSERT_TRUE(keys.registerHotKey(2, HotKeyModAlt, 0x50));
    EXPECT_FALSE(keys.registerHotKey(3, HotKeyModAlt, 0x50)) << "one combination, one hot key";

    const struct {
        std::vector<std::string> locks; // toggled on before the press, and off again afterwards
        const char* keys;
        std::vector<int> ids;
    } cases[] = {
        {{}, "alt+p", {2}},
        {{}, "ctrl+F12", {1}},
        {{"Num_Lock"}, "alt+p", {2}},
        {{"Caps_Lock"}, "ctrl+F12", {1}},
        {{"Num_Lock", "Caps_Lock"}, "alt+p", {2}},
        {{}, "p", {}},
        {{}, "alt+shift+p", {}},
        {{}, "ctrl+alt+p", {}},
        {{}, "F12", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.locks.size()) + " locks, " + c.keys);
        fired.clear();
        for (const auto& lock : c.locks)
            press(lock);
        press(c.keys);
        if (c.ids.empty())
            settle(300ms);
        else
            processUntil([&] { return !fired.empty(); });
        EXPECT_EQ(fired, c.ids);
        for (const auto& lock : c.locks)
            press(lock);
    }
}

TEST(X11HotKeys, AKeyHeldByAnotherClientIsRefusedAndTheNextKeyTakesItsIdentifier)
{
    OtherClient other;
    ASSERT_TRUE(other.grab(XK_F12, ControlMask));

    X11HotKeys keys(qtX11Display());
    std::vector<int> fired;
    keys.setDispatcher([&](int id) { fired.push_back(id); return true; });
    EXPECT_FALSE(keys.registerHotKey(1, HotKeyModControl, 0x7B));
    ASSERT_TRUE(keys.registerHotKey(1, HotKeyModAlt, 0x50));
    press("alt+p");
    processUntil([&] { return !fired.empty(); });
    EXPECT_EQ(fired, std::vector<int>{1});

    fired.clear();
    press("ctrl+F12");
    settle(300ms);
    EXPECT_TRUE(fired.empty()) << "Ctrl+F12 belongs to the other client";
}

TEST(X11HotKeys, ARefusedLockVariantLeavesNoGrabBehind)
{
    OtherClient holder;
    ASSERT_TRUE(holder.grab(XK_F11, ControlMask | Mod2Mask)); // only the Num Lock variant

    X11HotKeys keys(qtX11Display());
    EXPECT_FALSE(keys.registerHotKey(1, HotKeyModControl, 0x7A));

    OtherClient third;
    EXPECT_TRUE(third.grab(XK_F11, ControlMask)) << "our plain grab was released again";
    EXPECT_TRUE(third.grab(XK_F11, ControlMask | LockMask));
}

// The answers as the target program's window receives them, typed by the real typer.
class X11Typing : public ::testing::TestWithParam<bool> { // true: a Qt target, false: plain Xlib
protected:
    X11Typing() : target(VELKORA_TYPE_TARGET, GetParam()) {}
    TypeTarget target;
    X11KeyTyper typer{x11DisplayName(qtX11Display())};
};

TEST_P(X11Typing, TheFocusedWindowReceivesExactlyTheAnswer)
{
    ASSERT_TRUE(typer.available());
    const char* answers[] = {"12", "34", "56", "0", "aZ9x", "甲乙丙", "密保卡A1", "𠀀中", "é~!@#"};
    for (const char* answer : answers) {
        SCOPED_TRACE(answer);
        typer.typeText(utf8ToGb(answer));
        EXPECT_EQ(target.receiveText(answer), answer);
    }
    EXPECT_EQ(target.drain(200ms), "") << "nothing but the answers";
}

// Characters missing from the keyboard get keycodes of their own that stay bound while the target
// reads them: answers after one another, more distinct characters than spare keycodes.
TEST_P(X11Typing, ManyCharactersMissingFromTheKeyboardArriveAtFullSpeed)
{
    const int emptyBefore = emptyKeycodes(qtX11Display());
    std::string sent;
    char32_t next = U'\u4e00';
    for (int answer = 0; answer < 24; ++answer) {
        std::u32string text = U"1";
        for (int i = 0; i < 3; ++i)
            text += next++;
        const std::string utf8 = toUtf8(text);
        typer.typeText(utf8ToGb(utf8));
        sent += utf8;
        std::this_thread::sleep_for(10ms); // the shortest pause between answers
    }
    ASSERT_GT(next - U'\u4e00', emptyBefore) << "the spare keycodes are used again";
    EXPECT_EQ(target.receiveText(sent, 3000ms), sent);
}

TEST(X11KeyTyper, TheSpareKeycodesAreGivenBack)
{
    Display* display = qtX11Display();
    const int emptyBefore = emptyKeycodes(display);
    {
        X11KeyTyper typer(x11DisplayName(display));
        typer.typeText(utf8ToGb("甲乙丙"));
        EXPECT_EQ(emptyKeycodes(display), emptyBefore - 3);
    }
    EXPECT_EQ(emptyKeycodes(display), emptyBefore);
}

TEST_P(X11Typing, TypingWaitsUntilTheHeldKeysAreReleased)
{
    ASSERT_EQ(runProgram({"xdotool", "keydown", "alt"}), 0);
    pid_t releaser = spawnWithPipe({"xdotool", "sleep", "0.2", "keyup", "alt"}, nullptr);
    const auto start = std::chrono::steady_clock::now();
    typer.typeText("12");
    const auto waited = std::chrono::steady_clock::now() - start;
    int status = 0;
    waitpid(releaser, &status, 0);

    EXPECT_EQ(target.receiveText("12"), "12") << "no Alt+digit";
    EXPECT_GE(waited, 150ms);
}

TEST_P(X11Typing, CapsLockNeitherChangesTheLettersNorIsLost)
{
    Display* display = qtX11Display();
    ASSERT_EQ(runProgram({"xdotool", "key", "Caps_Lock"}), 0);
    ASSERT_TRUE(capsLocked(display));
    typer.typeText("aB1");
    EXPECT_EQ(target.receiveText("aB1"), "aB1");
    EXPECT_TRUE(capsLocked(display));
    ASSERT_EQ(runProgram({"xdotool", "key", "Caps_Lock"}), 0);
}

INSTANTIATE_TEST_SUITE_P(Targets, X11Typing, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& target) {
                             return target.param ? "QtTarget" : "XlibTarget";
                         });

// The whole road: ALT+P pressed by another client, the grab, the event filter, the behaviour, the
// typer and the pauses in a Qt event loop, into the focused window of another process.
class AltPEndToEnd : public ::testing::Test {
protected:
    class Window : public ToggledWindow {
    public:
        bool isVisible() const override { return visible; }
        void show() override { visible = true; }
        void hide() override { visible = false; }
        bool visible = true;
    } window;
    class NoView : public TypingOptionsView {
    public:
        void setFullInputTicked(bool) override {}
        void setSpeedIndex(int) override {}
    } optionsView;

    AltPEndToEnd()
    {
        card.resultText = "12\r\n\r\n34\r\n\r\n56\r\n\r\n";
        card.queriedCount = 3;
        hotKeys.setDispatcher([this](int id) { return typing.dispatchHotKey(id); });
        typing.bindHotKey(HotKeyModControl, 0x7B, [this] { typing.toggleMainWindow(); });
        typing.bindHotKey(HotKeyModAlt, 0x50, [this] { typing.typeResult(); });
    }

    std::string pressAndReceive(const std::string& keys, const std::string& expected)
    {
        press(keys);
        std::string got;
        processUntil([&] {
            got += target.drain(5ms);
            return got.size() >= expected.size();
        });
        return got;
    }

    TypeTarget target{VELKORA_TYPE_TARGET};
    FakeSettings settings;
    TypingOptions options{optionsView, settings};
    LoadedCard card;
    X11HotKeys hotKeys{qtX11Display()};
    X11KeyTyper typer{x11DisplayName(qtX11Display())};
    QtEventPump pump;
    HotKeyTyping typing{hotKeys, typer, pump, window, card, options};
};

TEST_F(AltPEndToEnd, SinglePressesCycleAndFullInputTypesTheRest)
{
    ASSERT_EQ(typing.hotKeyCount(), 2u);
    options.fullInputClicked(false);
    for (const char* answer : {"12", "34", "56", "12"})
        EXPECT_EQ(pressAndReceive("alt+p", answer), answer);

    options.fullInputClicked(true);
    options.speedPicked(0);
    EXPECT_EQ(pressAndReceive("alt+p", "345612"), "345612");
    EXPECT_EQ(card.nextValue, 1);

    pressAndReceive("ctrl+F12", "");
    EXPECT_TRUE(processUntil([&] { return !window.visible; }));
    EXPECT_EQ(target.drain(200ms), "");
}

} // namespace
} // namespace velkora::testing
