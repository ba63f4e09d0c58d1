// A writer of config.ini killed with SIGKILL at random moments must always leave a file that reads
// back with every key of its last completed write, and with every line it did not write intact.

#include "platform/files/IniSettings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <iostream>
#include <random>
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "carddata/Text.h"
#include "support/TempDir.h"
#include "startup/IniProfile.h"

namespace velkora {
namespace {

namespace fs = std::filesystem;

constexpr int KeyCount = 6;
constexpr int Rounds = 100;

// Write number n (from 1) stores n under key "k<n % KeyCount>" of section "s<n % 2>".
std::string sectionOf(long n) { return "s" + std::to_string(n % 2); }
std::string keyOf(long n) { return "k" + std::to_string(n % KeyCount); }

// What each key holds after the first n writes ("" for a key never written).
std::vector<std::string> stateAfter(long n)
{
    std::vector<std::string> values(KeyCount);
    for (long m = std::max(1L, n - KeyCount + 1); m <= n; ++m)
        values[static_cast<std::size_t>(m % KeyCount)] = std::to_string(m);
    return values;
}

std::vector<std::string> stateIn(const std::string& text)
{
    std::vector<std::string> values;
    for (int k = 0; k < KeyCount; ++k)
        values.push_back(readProfileString(text, sectionOf(k), keyOf(k), ""));
    return values;
}

TEST(ConfigIniCrash, KilledWriterAlwaysLeavesACompleteFile)
{
    testing::TempDir dir;
    const fs::path file = dir / "config.ini";

    // Lines of someone else, long enough that a write takes a while.
    std::string handMade = utf8ToGb("; 手写的设置\r\n[Other]\r\n");
    for (int i = 0; i < 300; ++i)
        handMade += "line" + std::to_string(i) + "=" + std::string(60, static_cast<char>('a' + i % 26)) + "\r\n";
    testing::writeBytes(file, handMade);

    // The child publishes the number of its last completed write here.
    void* shared = ::mmap(nullptr, sizeof(std::atomic<long>), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(shared, MAP_FAILED);
    auto* completed = new (shared) std::atomic<long>(0);

    // How long one write takes here, to spread the kills over a write.
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 5; ++i)
        IniSettings(dir / "timing.ini").write("s", "k", std::to_string(i));
    const auto perWrite = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start) / 5;
    fs::remove(dir / "timing.ini");
    std::mt19937 random(20110203);
    // Each kill waits for 0 to 2 more completed writes, then lands at a random moment of the next
    // one; waiting for progress rather than for a fixed time keeps it so on a loaded machine too.
    std::uniform_int_distribution<long> writesBeforeKill(0, 2);
    std::uniform_int_distribution<long> delayMicroseconds(0, std::min<long>(perWrite.count() + 500, 100000));
    long done = 0;
    int leftTemporaries = 0;
    for (int round = 0; round < Rounds; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            IniSettings settings(file);
            for (long n = done + 1;; ++n) {
                settings.write(sectionOf(n), keyOf(n), std::to_string(n));
                completed->store(n);
            }
        }
        const long target = done + writesBeforeKill(random);
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (completed->load() < target && std::chrono::steady_clock::now() < giveUp)
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        std::this_thread::sleep_for(std::chrono::microseconds(delayMicroseconds(random)));
        ASSERT_EQ(::kill(child, SIGKILL), 0);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "the writer ended by itself";

        // The write after the last reported one may have completed just before the kill.
        const long reported = completed->load();
        const std::string text = testing::readBytes(file);
        ASSERT_TRUE(text.starts_with(handMade)) << "round " << round << ": foreign lines damaged";
        const std::vector<std::string> state = stateIn(text);
        if (state == stateAfter(reported + 1))
            done = reported + 1;
        else
            ASSERT_EQ(state, stateAfter(reported)) << "round " << round << ", " << reported << " writes reported";
        done = std::max(done, reported);
        completed->store(done);

        for (const auto& name : testing::TempDir::entries(dir.path()))
            leftTemporaries += name != "config.ini";
    }
    std::cout << "  " << perWrite.count() << " us per write; " << done << " completed writes in " << Rounds
              << " kills; " << leftTemporaries << " kills left a temporary file behind\n";
    EXPECT_GE(done, Rounds / 4) << "the writers hardly got to write; the kills tested little";

    // The next writer clears what the killed ones left.
    IniSettings(file).write("s0", "k0", "final");
    EXPECT_EQ(testing::TempDir::entries(dir.path()), std::set<std::string>{"config.ini"});
    EXPECT_EQ(IniSettings(file).read("s0", "k0", ""), "final");
    ::munmap(shared, sizeof(std::atomic<long>));
}

} // namespace
} // namespace velkora
