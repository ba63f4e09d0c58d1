#pragma once
// Start-up work that the toolkit would otherwise do later, and wait for, on the GUI thread, begun
// early on a thread of its own so that it overlaps the GUI thread's own start-up work.
//
//   fontconfig    reading the font configuration and caches (FcInit), while the QApplication
//                 is being built;
//   session bus   connecting to the D-Bus session bus, which the accessibility bridge wants as
//                 soon as the first widget gets a caption, while the GUI thread loads the fonts.
//
// Both libraries are thread-safe and keep what the first caller made, so the GUI thread later
// finds the work done; a caller that comes first simply waits for it.

#include <functional>
#include <thread>

namespace velkora {

// `work` on a thread of its own; finish() or the destructor waits for it.
class EarlyWork {
public:
    explicit EarlyWork(std::function<void()> work);
    ~EarlyWork();
    EarlyWork(const EarlyWork&) = delete;
    EarlyWork& operator=(const EarlyWork&) = delete;

    void finish();

private:
    std::thread thread_;
};

// Loads the font configuration. Needs no QApplication.
void warmUpFontConfig();

// Connects to the session bus, if there is one. Needs the QApplication.
void warmUpSessionBus();

// Loads the application font's faces on the GUI thread, Chinese glyphs included.
void warmUpApplicationFont();

} // namespace velkora
