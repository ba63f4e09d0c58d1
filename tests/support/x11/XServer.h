#pragma once
// A private Xvfb for X11 tests and benchmarks, and the type target (a separate X client whose window
// has the keyboard focus and reports what it receives). Plain POSIX, no X headers.

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace velkora::testing {

// The program's path, looked up in PATH as a shell would.
inline std::string findProgram(const std::string& name)
{
    if (name.find('/') != std::string::npos)
        return name;
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/bin:/bin";
    for (std::size_t start = 0; start <= dirs.size();) {
        const std::size_t end = std::min(dirs.find(':', start), dirs.size());
        const std::string candidate = dirs.substr(start, end - start) + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0)
            return candidate;
        start = end + 1;
    }
    throw std::runtime_error("cannot find " + name + " in PATH");
}

// Starts a program with stdout on a pipe; the pipe's read end is returned through `out` (or -1).
// The program is ended with SIGTERM when the starting thread ends, even by a crash, so no X server
// outlives a failed test.
inline pid_t spawnWithPipe(const std::vector<std::string>& args, int* out, bool quietStderr = false)
{
    const std::string program = findProgram(args.at(0));
    std::vector<char*> argv;
    for (const auto& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    int fds[2] = {-1, -1};
    if (out && pipe2(fds, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid == 0) {
        // Only async-signal-safe calls until exec.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent)
            _exit(127);
        if (out)
            dup2(fds[1], STDOUT_FILENO);
        if (quietStderr) {
            const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
            dup2(null, STDERR_FILENO);
        }
        execve(program.c_str(), argv.data(), environ);
        _exit(127);
    }
    if (out) {
        close(fds[1]);
        *out = fds[0];
    }
    if (pid < 0)
        throw std::runtime_error("cannot start " + args[0] + ": " + std::strerror(errno));
    return pid;
}

inline void stopProcess(pid_t& pid)
{
    if (pid <= 0)
        return;
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
    pid = -1;
}

// Runs a program to its end; its exit status.
inline int runProgram(const std::vector<std::string>& args)
{
    pid_t pid = spawnWithPipe(args, nullptr);
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Xvfb on a display number it picks itself; DISPLAY points at it while the object lives. It does
// not reset when its last client leaves, which would cut off a client connecting at that moment.
class Xvfb {
public:
    Xvfb()
    {
        int displayFd = -1;
        pid_ = spawnWithPipe({"Xvfb", "-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp", "-noreset"}, &displayFd,
                             true);
        std::string number;
        char c;
        pollfd p{displayFd, POLLIN, 0};
        while (poll(&p, 1, 10000) > 0 && read(displayFd, &c, 1) == 1 && c != '\n')
            number += c;
        close(displayFd);
        if (number.empty()) {
            stopProcess(pid_);
            throw std::runtime_error("Xvfb did not start");
        }
        name_ = ":" + number;
        if (const char* old = std::getenv("DISPLAY"))
            previous_ = old;
        setenv("DISPLAY", name_.c_str(), 1);
    }
    ~Xvfb()
    {
        stopProcess(pid_);
        if (previous_)
            setenv("DISPLAY", previous_->c_str(), 1);
        else
            unsetenv("DISPLAY");
    }
    Xvfb(const Xvfb&) = delete;
    Xvfb& operator=(const Xvfb&) = delete;

    const std::string& name() const { return name_; }

private:
    pid_t pid_ = -1;
    std::string name_;
    std::optional<std::string> previous_;
};

// One character as the target received it.
struct Arrival {
    long long ns; // CLOCK_MONOTONIC
    std::string text;
};

// The type target in its own process, its window focused.
class TypeTarget {
public:
    explicit TypeTarget(const std::string& program, bool qt = false)
    {
        std::vector<std::string> args{program};
        if (qt)
            args.push_back("--qt");
        pid_ = spawnWithPipe(args, &fd_);
        const auto line = readLine(std::chrono::seconds(10));
        if (!line || line->rfind("ready", 0) != 0) {
            stopProcess(pid_);
            throw std::runtime_error("the type target did not start");
        }
    }
    ~TypeTarget()
    {
        stopProcess(pid_);
        if (fd_ >= 0)
            close(fd_);
    }
    TypeTarget(const TypeTarget&) = delete;
    TypeTarget& operator=(const TypeTarget&) = delete;

    // Everything received until `expected` has arrived, or until nothing more arrives for `quiet`.
    std::vector<Arrival> receive(const std::string& expected,
                                 std::chrono::milliseconds quiet = std::chrono::milliseconds(1500))
    {
        std::vector<Arrival> got;
        std::string text;
        while (text.size() < expected.size()) {
            const auto line = readLine(quiet);
            if (!line)
                break;
            const auto space = line->find(' ');
            got.push_back({std::stoll(line->substr(0, space)), line->substr(space + 1)});
            text += got.back().text;
        }
        return got;
    }
    std::string receiveText(const std::string& expected,
                            std::chrono::milliseconds quiet = std::chrono::milliseconds(1500))
    {
        std::string text;
        for (const auto& a : receive(expected, quiet))
            text += a.text;
        return text;
    }
    // Whatever arrives within `period`, e.g. to check that nothing more came.
    std::string drain(std::chrono::milliseconds period)
    {
        std::string text;
        const auto end = std::chrono::steady_clock::now() + period;
        for (;;) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
            if (left.count() <= 0)
                break;
            const auto line = readLine(left);
            if (!line)
                break;
            text += line->substr(line->find(' ') + 1);
        }
        return text;
    }

private:
    std::optional<std::string> readLine(std::chrono::milliseconds timeout)
    {
        const auto end = std::chrono::steady_clock::now() + timeout;
        for (;;) {
            const auto nl = buffer_.find('\n');
            if (nl != std::string::npos) {
                std::string line = buffer_.substr(0, nl);
                buffer_.erase(0, nl + 1);
                return line;
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
            pollfd p{fd_, POLLIN, 0};
            if (poll(&p, 1, static_cast<int>(std::max<long long>(left.count(), 0))) <= 0)
                return std::nullopt; // what has already arrived is always taken
            char chunk[256];
            const ssize_t n = read(fd_, chunk, sizeof chunk);
            if (n <= 0)
                return std::nullopt;
            buffer_.append(chunk, static_cast<std::size_t>(n));
        }
    }

    pid_t pid_ = -1;
    int fd_ = -1;
    std::string buffer_;
};

} // namespace velkora::testing
