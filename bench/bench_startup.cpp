// Launch to window shown, and resident memory once started: Velkora with an empty store and with
// 10,000 cards, beside an empty Qt main window (the floor) measured the same way in the same run,
// and beside that window with the font, skin and text any window of the program has.
//
// Everything is watched from outside, on a private Xvfb: the clock starts just before the program
// is spawned and stops when the X server reports that the program's top-level window was mapped
// (MapNotify on the root window). The resident set is read from /proc 300 ms later. Launches of
// the programs take turns, so that a slower moment of the machine hits all of them alike.
// Not a Google Benchmark program: it prints its own figures.

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "CardDatabase.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int Rounds = 15;

// A private X server. Xvfb picks a free display number itself; when another server started at the
// same moment got the same number (its lock file gone), the connection fails and a new one starts.
class Xvfb {
public:
    Xvfb()
    {
        for (int attempt = 0; attempt < 5; ++attempt) {
            start();
            // The server must answer and still be ours: one that lost the number to another ends.
            if (Display* probe = XOpenDisplay(display_.c_str())) {
                XCloseDisplay(probe);
                if (::waitpid(pid_, nullptr, WNOHANG) == 0)
                    return;
            }
            stop();
        }
        throw std::runtime_error("no private Xvfb could be started (is it installed?)");
    }
    ~Xvfb() { stop(); }
    Xvfb(const Xvfb&) = delete;
    Xvfb& operator=(const Xvfb&) = delete;

    const std::string& display() const { return display_; }

private:
    void start()
    {
        int fds[2];
        if (::pipe(fds) != 0)
            throw std::runtime_error("pipe");
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(fds[0]);
            // Xvfb reports every display number it finds taken; only the one it got matters.
            const int devNull = ::open("/dev/null", O_WRONLY);
            ::dup2(devNull, 2);
            const std::string fd = std::to_string(fds[1]);
            ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-nolisten", "tcp", "-noreset", "-screen", "0", "1024x768x24",
                     static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(fds[1]);
        char buffer[32] = {};
        const ssize_t n = ::read(fds[0], buffer, sizeof buffer - 1);
        ::close(fds[0]);
        display_ = n > 0 ? ":" + std::string(buffer, static_cast<std::size_t>(n)) : std::string(":none");
        display_.erase(display_.find_last_not_of("\n ") + 1);
    }
    void stop()
    {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
        }
        pid_ = -1;
    }

    pid_t pid_ = -1;
    std::string display_;
};

struct Program {
    std::string name;
    fs::path executable;
    std::vector<std::string> arguments;
    fs::path runDir;
    std::vector<double> launchMs;
    std::vector<long> rssKb;
};

long residentKb(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

class Watcher {
public:
    explicit Watcher(const std::string& displayName)
    {
        display_ = XOpenDisplay(displayName.c_str());
        if (display_ == nullptr)
            throw std::runtime_error("cannot open " + displayName);
        XSelectInput(display_, DefaultRootWindow(display_), SubstructureNotifyMask);
        pidAtom_ = XInternAtom(display_, "_NET_WM_PID", False);
        XSync(display_, False);
    }
    ~Watcher() { XCloseDisplay(display_); }
    Watcher(const Watcher&) = delete;
    Watcher& operator=(const Watcher&) = delete;

    // Waits until a top-level window of `pid` is mapped; the moment it was reported, or nothing
    // after 30 s.
    bool waitForMap(pid_t pid, Clock::time_point& when)
    {
        const auto deadline = Clock::now() + std::chrono::seconds(30);
        while (Clock::now() < deadline) {
            while (XPending(display_) > 0) {
                XEvent event;
                XNextEvent(display_, &event);
                if (event.type != MapNotify || event.xmap.override_redirect)
                    continue;
                const auto seen = Clock::now();
                if (windowPid(event.xmap.window) == pid) {
                    when = seen;
                    return true;
                }
            }
            pollfd fd{ConnectionNumber(display_), POLLIN, 0};
            ::poll(&fd, 1, 50);
        }
        return false;
    }

private:
    pid_t windowPid(Window window)
    {
        Atom type = None;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char* data = nullptr;
        pid_t pid = -1;
        if (XGetWindowProperty(display_, window, pidAtom_, 0, 1, False, XA_CARDINAL, &type, &format, &items, &after,
                               &data) == Success &&
            data != nullptr && items == 1 && format == 32)
            pid = static_cast<pid_t>(*reinterpret_cast<unsigned long*>(data));
        if (data != nullptr)
            XFree(data);
        return pid;
    }

    Display* display_ = nullptr;
    Atom pidAtom_ = None;
};

std::vector<std::string> childEnvironment(const std::string& display, const fs::path& runtimeDir)
{
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry = *e;
        if (entry.rfind("DISPLAY=", 0) == 0 || entry.rfind("XDG_RUNTIME_DIR=", 0) == 0 ||
            entry.rfind("QT_QPA_PLATFORM=", 0) == 0 || entry.rfind("WAYLAND_DISPLAY=", 0) == 0)
            continue;
        env.push_back(entry);
    }
    env.push_back("DISPLAY=" + display);
    env.push_back("XDG_RUNTIME_DIR=" + runtimeDir.string());
    env.push_back("QT_QPA_PLATFORM=xcb");
    return env;
}

// One launch: spawned in its run directory, timed to its window, measured, then ended.
bool launch(Program& program, Watcher& watcher, const std::vector<std::string>& env, bool record)
{
    std::vector<char*> envp;
    for (const std::string& e : env)
        envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    const std::string exe = program.executable.string();
    std::vector<char*> argv{const_cast<char*>(exe.c_str())};
    for (const std::string& argument : program.arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, program.runDir.c_str());
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);

    pid_t pid = -1;
    const auto start = Clock::now();
    const int rc = posix_spawn(&pid, exe.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        return false;

    Clock::time_point shown;
    const bool mapped = watcher.waitForMap(pid, shown);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const long rss = residentKb(pid);
    ::kill(pid, SIGTERM);
    ::waitpid(pid, nullptr, 0);
    if (!mapped)
        return false;
    if (record) {
        program.launchMs.push_back(std::chrono::duration<double, std::milli>(shown - start).count());
        program.rssKb.push_back(rss);
    }
    return true;
}

template <typename T>
T median(std::vector<T> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main()
{
    try {
        const fs::path work = fs::temp_directory_path() / ("velkora-bench-startup-" + std::to_string(::getpid()));
        fs::create_directories(work / "xdg");
        fs::permissions(work / "xdg", fs::perms::owner_all);
        struct Cleanup {
            fs::path dir;
            ~Cleanup()
            {
                std::error_code ec;
                fs::remove_all(dir, ec);
            }
        } cleanup{work};

        // The second floor is what any window of the program pays at least: the Chinese font, the
        // skin and a line of text; it shows how much of the distance to the first is not ours.
        std::vector<Program> programs = {
            {"empty Qt main window (floor)", VELKORA_FLOOR_WINDOW, {}, work, {}, {}},
            {"same, with skin and Chinese text", VELKORA_FLOOR_WINDOW, {"--text"}, work, {}, {}},
            {"Velkora, empty store", work / "empty" / "velkora", {}, work / "empty", {}, {}},
            {"Velkora, 10,000 cards", work / "cards" / "velkora", {}, work / "cards", {}, {}},
        };
        for (const char* dir : {"empty", "cards"}) {
            fs::create_directories(work / dir);
            fs::copy_file(VELKORA_EXECUTABLE, work / dir / "velkora");
        }
        velkora::bench::makeCardDatabase((work / "cards" / "tamcard1.mdb").string(), 10000);

        Xvfb xvfb;
        Watcher watcher(xvfb.display());
        const auto env = childEnvironment(xvfb.display(), work / "xdg");

        // The first launch of each writes its files and warms the caches; it is not counted.
        for (Program& program : programs)
            if (!launch(program, watcher, env, false))
                throw std::runtime_error(program.name + ": no window appeared");
        for (int round = 0; round < Rounds; ++round)
            for (Program& program : programs)
                if (!launch(program, watcher, env, true))
                    throw std::runtime_error(program.name + ": no window appeared");

        const double floorMs = median(programs[0].launchMs);
        const long floorKb = median(programs[0].rssKb);
        std::printf("Launch to window shown and resident memory 300 ms later, median of %d launches (min)\n", Rounds);
        std::printf("%-34s %10s %8s %12s %8s\n", "program", "launch ms", "x floor", "resident MB", "x floor");
        for (const Program& program : programs) {
            const double ms = median(program.launchMs);
            const long kb = median(program.rssKb);
            std::printf("%-34s %6.1f (%5.1f) %7.2f %12.1f %8.2f\n", program.name.c_str(), ms,
                        *std::min_element(program.launchMs.begin(), program.launchMs.end()), ms / floorMs,
                        static_cast<double>(kb) / 1024.0, static_cast<double>(kb) / static_cast<double>(floorKb));
        }
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_startup: %s\n", e.what());
        return 1;
    }
}
