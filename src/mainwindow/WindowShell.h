#pragma once
// The rest of the main window: the clock in the status bar with the periodic memory trim, the help
// file, the web links, the about window, keeping the window on top, and ending the program.

#include <string>
#include <string_view>

#include "mainwindow/Services.h"

namespace velkora {

class FileSystem;

// A moment of the local calendar; weekday 0 is Sunday, 6 Saturday.
struct LocalTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int weekday = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalTime localNow() const = 0;
};

// Hands memory the process no longer uses back to the system.
class MemoryTrimmer {
public:
    virtual ~MemoryTrimmer() = default;
    virtual void trimMemory() = 0;
};

class AboutWindowOpener {
public:
    virtual ~AboutWindowOpener() = default;
    virtual void openAboutWindow() = 0; // modal over the main window; returns when it is closed
};

class WindowShellView {
public:
    virtual ~WindowShellView() = default;
    virtual void setClockText(const std::string& text) = 0; // part 2 of 状态条1
    virtual void setTopmostTicked(bool ticked) = 0;          // tray menu 窗口置顶
    virtual void setAlwaysOnTop(bool onTop) = 0;
    virtual void closeMainWindow() = 0;                      // ends the program
};

class WindowShell {
public:
    // `runDir` has no trailing slash; `siteHost` is the publisher's web site host (with an
    // optional port).
    WindowShell(WindowShellView& view, MessageService& messages, Shell& shell, const FileSystem& files,
                const Clock& clock, MemoryTrimmer& trimmer, AboutWindowOpener& about, std::string runDir,
                std::string siteHost);

    void clockTick(); // every 1000 ms

    void openHelpFile();
    void openWebPage(const std::string& address); // only http and https addresses are opened
    void openSite();
    void openFeedback();
    void openOrvandel();
    void openAboutWindow();
    void toggleTopmost();
    bool topmost() const { return topmost_; }
    void exitProgram();

    // "http://" + host + path; path starts with "/".
    std::string siteAddress(std::string_view path) const;

    // The status bar's clock: the date-time text of the settings followed by " 周日" .. " 周六".
    static std::string clockText(const LocalTime& time);
    static bool isWebAddress(std::string_view address);

private:
    WindowShellView& view_;
    MessageService& messages_;
    Shell& shell_;
    const FileSystem& files_;
    const Clock& clock_;
    MemoryTrimmer& trimmer_;
    AboutWindowOpener& about_;
    std::string runDir_;
    std::string siteHost_;
    bool topmost_ = false; // not remembered: every start is normal
};

// The tray icon's tooltip as the tray shows it: at most 62 bytes, never half a character.
std::string trayTipText(std::string_view tip);

} // namespace velkora
