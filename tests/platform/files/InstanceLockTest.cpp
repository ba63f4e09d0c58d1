#include "platform/files/InstanceLock.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <optional>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "support/ScopedEnv.h"
#include "support/TempDir.h"

extern char** environ;

namespace velkora {
namespace {

using testing::ScopedEnv;
using testing::TempDir;

// A child process that takes the lock, reports whether it got it, and then waits to be killed.
class LockingChild {
public:
    explicit LockingChild(const std::filesystem::path& file)
    {
        int fds[2];
        if (::pipe(fds) != 0)
            throw std::runtime_error("pipe failed");
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(fds[0]);
            InstanceLock lock(file);
            const char got = lock.acquire() && lock.held() ? '1' : '0';
            (void)!::write(fds[1], &got, 1);
            for (;;)
                ::pause();
        }
        ::close(fds[1]);
        char got = '0';
        gotLock_ = ::read(fds[0], &got, 1) == 1 && got == '1';
        ::close(fds[0]);
    }
    ~LockingChild() { killNow(); }

    bool gotLock() const { return gotLock_; }
    // Ends the child the hard way: nothing of its own runs on the way out.
    void killNow()
    {
        if (pid_ <= 0)
            return;
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    pid_t pid_ = -1;
    bool gotLock_ = false;
};

TEST(InstanceLock, OnlyOneHolderAtATime)
{
    TempDir dir;
    const auto file = dir / "jzyqfhdslinbc.lock";
    std::optional<InstanceLock> first(std::in_place, file);
    ASSERT_TRUE(first->acquire());
    EXPECT_TRUE(first->held());
    EXPECT_TRUE(first->acquire()) << "asking again keeps the lock";

    InstanceLock second(file);
    EXPECT_FALSE(second.acquire());
    EXPECT_FALSE(second.held());

    first.reset();
    EXPECT_TRUE(second.acquire()) << "the lock is free once its holder is gone";
    EXPECT_TRUE(second.held());
}

TEST(InstanceLock, AnotherProcessBlocksUntilItIsKilled)
{
    TempDir dir;
    const auto file = dir / "jzyqfhdslinbc.lock";
    LockingChild child(file);
    ASSERT_TRUE(child.gotLock());

    EXPECT_FALSE(InstanceLock(file).acquire());
    child.killNow();
    EXPECT_TRUE(InstanceLock(file).acquire()) << "a killed instance must not block the next start";
}

TEST(InstanceLock, ProgramsStartedByTheHolderDoNotKeepIt)
{
    TempDir dir;
    const auto file = dir / "jzyqfhdslinbc.lock";
    std::optional<InstanceLock> lock(std::in_place, file);
    ASSERT_TRUE(lock->acquire());

    // A program launched while the lock is held (a browser, say) outlives it.
    pid_t sleeper = 0;
    const char* argv[] = {"sleep", "30", nullptr};
    ASSERT_EQ(::posix_spawnp(&sleeper, "sleep", nullptr, nullptr, const_cast<char**>(argv), environ), 0);
    lock.reset();

    EXPECT_TRUE(InstanceLock(file).acquire());
    ::kill(sleeper, SIGKILL);
    ::waitpid(sleeper, nullptr, 0);
}

TEST(InstanceLock, PlantedLinkIsNeitherFollowedNorAllowedToBlock)
{
    TempDir dir;
    const auto file = dir / "jzyqfhdslinbc.lock";
    const auto target = dir / "victim";
    std::filesystem::create_symlink(target, file);

    InstanceLock lock(file);
    EXPECT_TRUE(lock.acquire());
    EXPECT_FALSE(lock.held());
    EXPECT_FALSE(std::filesystem::exists(target));
}

TEST(InstanceLock, UnusableLockFileLetsTheProgramStart)
{
    TempDir dir;
    InstanceLock lock(dir / "no such directory" / "jzyqfhdslinbc.lock");
    EXPECT_TRUE(lock.acquire());
    EXPECT_FALSE(lock.held());
}

TEST(DefaultInstanceLockFile, IsPerUser)
{
    TempDir runtime;
    TempDir temp;
    ScopedEnv tmpdir("TMPDIR", temp.path().c_str());
    const std::string perUserName = "jzyqfhdslinbc-" + std::to_string(::geteuid()) + ".lock";
    {
        ScopedEnv xdg("XDG_RUNTIME_DIR", runtime.path().c_str());
        EXPECT_EQ(defaultInstanceLockFile(), runtime / "jzyqfhdslinbc.lock");
    }
    for (const char* unusable : {static_cast<const char*>(nullptr), "", "relative/dir", "/no/such/dir"}) {
        ScopedEnv xdg("XDG_RUNTIME_DIR", unusable);
        EXPECT_EQ(defaultInstanceLockFile(), temp / perUserName) << (unusable ? unusable : "(unset)");
    }
}

} // namespace
} // namespace velkora
