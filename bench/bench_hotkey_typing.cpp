// ALT+P to the last character in the other program's window, on a private Xvfb: the real grab,
// event filter, hot-key behaviour, typer and pauses, with the key press made through XTest by
// another connection and the arrival times taken by the type target (a separate X client) itself.
// Prints figures; arguments (such as Google Benchmark's) are ignored.

#include <QCoreApplication>
#include <QGuiApplication>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "carddata/Text.h"
#include "mainwindow/HotKeyTyping.h"
#include "mainwindow/QueryPanel.h"
#include "mainwindow/TypingOptions.h"
#include "platform/x11/QtEventPump.h"
#include "platform/x11/X11HotKeys.h"
#include "platform/x11/X11KeyTyper.h"
#include "startup/Settings.h"
#include "support/x11/XServer.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <time.h>

namespace {

using namespace velkora;
using namespace velkora::testing;

constexpr int Presses = 20;

long long nowNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

class MemorySettings : public Settings {
public:
    std::string read(std::string_view section, std::string_view key, std::string_view defaultValue) const override
    {
        auto it = values_.find(std::string(section) + "/" + std::string(key));
        return it == values_.end() ? std::string(defaultValue) : it->second;
    }
    void write(std::string_view section, std::string_view key, std::string_view value) override
    {
        values_[std::string(section) + "/" + std::string(key)] = std::string(value);
    }

private:
    std::map<std::string, std::string> values_;
};

class NoOptionsView : public TypingOptionsView {
public:
    void setFullInputTicked(bool) override {}
    void setSpeedIndex(int) override {}
};

class ShownWindow : public ToggledWindow {
public:
    bool isVisible() const override { return true; }
    void show() override {}
    void hide() override {}
};

struct Figures {
    std::vector<double> handledMs; // press to the hot key's action starting
    std::vector<double> lastMs;    // press to the last character arriving
};

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

class Bench {
public:
    explicit Bench(bool qtTarget) : target_(VELKORA_TYPE_TARGET, qtTarget), presser_(XOpenDisplay(nullptr))
    {
        hotKeys_.setDispatcher([this](int id) {
            handledNs_ = nowNs();
            return typing_.dispatchHotKey(id);
        });
        typing_.bindHotKey(HotKeyModControl, 0x7B, [this] { typing_.toggleMainWindow(); });
        if (!typing_.bindHotKey(HotKeyModAlt, 0x50, [this] { typing_.typeResult(); }))
            throw std::runtime_error("ALT+P could not be registered");
        altCode_ = XKeysymToKeycode(presser_, XK_Alt_L);
        pCode_ = XKeysymToKeycode(presser_, XK_p);
    }
    ~Bench() { XCloseDisplay(presser_); }

    // `presses` ALT+P presses with the given answers; each press expects `perPress` (UTF-8).
    Figures run(const std::string& resultText, int count, bool fullInput, const std::string& perPress)
    {
        card_.resultText = utf8ToGb(resultText);
        card_.queriedCount = count;
        card_.nextValue = 0;
        options_.fullInputClicked(fullInput);
        options_.speedPicked(0); // 极速: 10 ms after each answer
        Figures figures;
        for (int i = 0; i < Presses; ++i) {
            handledNs_ = 0;
            const long long pressed = nowNs();
            XTestFakeKeyEvent(presser_, altCode_, True, CurrentTime);
            XTestFakeKeyEvent(presser_, pCode_, True, CurrentTime);
            XTestFakeKeyEvent(presser_, pCode_, False, CurrentTime);
            XTestFakeKeyEvent(presser_, altCode_, False, CurrentTime);
            XFlush(presser_);
            std::vector<Arrival> got;
            std::string text;
            const long long giveUp = pressed + 5'000'000'000LL;
            while (text.size() < perPress.size() && nowNs() < giveUp) {
                QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
                for (const Arrival& a : target_.receive(perPress.substr(text.size()), std::chrono::milliseconds(1))) {
                    got.push_back(a);
                    text += a.text;
                }
            }
            if (text != perPress)
                throw std::runtime_error("the target received \"" + text + "\" instead of \"" + perPress + "\"");
            figures.handledMs.push_back((handledNs_ - pressed) / 1e6);
            figures.lastMs.push_back((got.back().ns - pressed) / 1e6);
            // Let a full-input run finish its last pause before the next press.
            const long long settle = nowNs() + 50'000'000LL;
            while (nowNs() < settle)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        return figures;
    }

private:
    TypeTarget target_;
    Display* presser_;
    unsigned int altCode_ = 0, pCode_ = 0;
    MemorySettings settings_;
    NoOptionsView optionsView_;
    TypingOptions options_{optionsView_, settings_};
    LoadedCard card_;
    ShownWindow window_;
    X11HotKeys hotKeys_{qtX11Display()};
    X11KeyTyper typer_{x11DisplayName(qtX11Display())};
    QtEventPump pump_;
    HotKeyTyping typing_{hotKeys_, typer_, pump_, window_, card_, options_};
    long long handledNs_ = 0;
};

// Pads a UTF-8 label to `columns` terminal columns (a Chinese character takes two).
std::string padded(const std::string& label, std::size_t columns)
{
    std::size_t width = 0;
    for (std::size_t i = 0; i < label.size(); ++i) {
        const auto byte = static_cast<unsigned char>(label[i]);
        if ((byte & 0xC0) != 0x80)
            width += byte >= 0xE0 ? 2 : 1;
    }
    return label + std::string(width < columns ? columns - width : 0, ' ');
}

void print(const std::string& what, const Figures& f)
{
    auto [minLast, maxLast] = std::minmax_element(f.lastMs.begin(), f.lastMs.end());
    std::printf("  %s %8.1f %8.1f %8.1f %10.1f\n", padded(what, 42).c_str(), median(f.lastMs), *minLast, *maxLast,
                median(f.handledMs));
}

} // namespace

int main(int argc, char** argv)
{
    try {
        Xvfb xvfb;
        qputenv("QT_QPA_PLATFORM", "xcb");
        int qtArgc = 1;
        QGuiApplication app(qtArgc, argv);
        (void)argc;

        const std::string three = "12\r\n\r\n34\r\n\r\n56\r\n\r\n";
        std::printf("ALT+P pressed (XTest) to the last character in the target window, %d presses each, ms\n", Presses);
        for (bool qt : {false, true}) {
            std::printf("target: %s\n", qt ? "Qt window (xkbcommon)" : "plain Xlib window");
            std::printf("  %s %8s %8s %8s %10s\n", padded("", 42).c_str(), "median", "min", "max", "handled");
            Bench bench(qt);
            print("one answer \"12\" (single mode)", bench.run("12\r\n\r\n", 1, false, "12"));
            print("three answers at 极速, full-input mode", bench.run(three, 3, true, "123456"));
            print("one answer \"甲乙丙\" (single mode)", bench.run("甲乙丙\r\n\r\n", 1, false, "甲乙丙"));
        }
        std::printf("handled: press to the hot key's action starting. Target: one answer under 100 ms.\n");
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_hotkey_typing: %s\n", e.what());
        return 1;
    }
}
