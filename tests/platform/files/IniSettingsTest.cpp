#include "platform/files/IniSettings.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "carddata/Text.h"
#include "platform/files/AtomicFile.h"
#include "support/TempDir.h"

namespace velkora {
namespace {

namespace fs = std::filesystem;
using testing::readBytes;
using testing::TempDir;
using testing::writeBytes;

class IniSettingsFile : public ::testing::Test {
protected:
    TempDir dir;
    fs::path file = dir / "config.ini";
    IniSettings settings{file};
};

TEST_F(IniSettingsFile, MissingFileGivesDefaultsAndIsNotCreatedByReading)
{
    EXPECT_EQ(settings.read("Soft", "AutoSearch", "1"), "1");
    EXPECT_EQ(settings.read("hotkey", "onehotspeed", "3"), "3");
    EXPECT_EQ(settings.read("mdb", "baktime", ""), "");
    EXPECT_FALSE(fs::exists(file));
}

TEST_F(IniSettingsFile, FirstWriteCreatesTheFile)
{
    settings.write("Soft", "AutoSearch", "0");
    EXPECT_EQ(readBytes(file), "[Soft]\r\nAutoSearch=0\r\n");
    EXPECT_EQ(settings.read("Soft", "AutoSearch", "1"), "0");
    EXPECT_EQ(TempDir::entries(dir.path()), std::set<std::string>{"config.ini"});
}

TEST_F(IniSettingsFile, WritesKeepEveryOtherLineAndEveryEarlierKey)
{
    const std::string handMade = utf8ToGb("; 我的设置\r\n[Soft]\r\nAutoSearch = 1 \r\n\r\n[Mine]\r\nname=张三\r\n");
    writeBytes(file, handMade);

    settings.write("Soft", "AutoLine", "0");
    settings.write("run", "vote", "1");
    settings.write("mdb", "baktime", utf8ToGb("2011年2月3日"));
    settings.write("soft", "autosearch", "0");
    settings.write("mdb", "baktime", "");

    EXPECT_EQ(gbToUtf8(readBytes(file)), "; 我的设置\r\n[Soft]\r\nAutoSearch = 0\r\nAutoLine=0\r\n\r\n[Mine]\r\nname=张三\r\n"
                                         "[run]\r\nvote=1\r\n[mdb]\r\nbaktime=\r\n");
    EXPECT_EQ(settings.read("Soft", "AutoSearch", "1"), "0");
    EXPECT_EQ(settings.read("mdb", "baktime", "<default>"), "");
    EXPECT_EQ(settings.read("Mine", "name", ""), utf8ToGb("张三"));
    EXPECT_EQ(TempDir::entries(dir.path()), std::set<std::string>{"config.ini"});
}

// Nothing is cached: a change made to the file by someone else is what the next read sees, and
// the next write keeps it.
TEST_F(IniSettingsFile, EveryAccessGoesToTheFile)
{
    settings.write("Soft", "AutoSearch", "0");
    writeBytes(file, "[Soft]\r\nAutoSearch=1\r\nAutoLine=0\r\n");
    EXPECT_EQ(settings.read("Soft", "AutoSearch", ""), "1");
    settings.write("hotkey", "onehot", "0");
    EXPECT_EQ(readBytes(file), "[Soft]\r\nAutoSearch=1\r\nAutoLine=0\r\n[hotkey]\r\nonehot=0\r\n");
}

TEST_F(IniSettingsFile, WriteKeepsTheFilesPermissions)
{
    writeBytes(file, "[Soft]\n");
    fs::permissions(file, fs::perms(0640));
    settings.write("Soft", "AutoSearch", "0");
    EXPECT_EQ(testing::permissions(file), 0640u);
}

TEST_F(IniSettingsFile, WriteThroughSymbolicLinkReplacesTheLinkedFile)
{
    fs::create_directory(dir / "real");
    writeBytes(dir / "real" / "settings.ini", "[Soft]\nAutoSearch=1\n");
    fs::create_symlink("real/settings.ini", file);

    settings.write("Soft", "AutoSearch", "0");

    EXPECT_TRUE(fs::is_symlink(file));
    EXPECT_EQ(readBytes(dir / "real" / "settings.ini"), "[Soft]\nAutoSearch=0\n");
    EXPECT_EQ(TempDir::entries(dir / "real"), std::set<std::string>{"settings.ini"});
}

TEST_F(IniSettingsFile, FailedWritesAreSilentAndDestroyNothing)
{
    // No directory to write into.
    IniSettings nowhere(dir / "missing" / "config.ini");
    EXPECT_NO_THROW(nowhere.write("Soft", "AutoSearch", "0"));
    EXPECT_EQ(nowhere.read("Soft", "AutoSearch", "1"), "1");
    EXPECT_FALSE(fs::exists(dir / "missing"));

    // Something that cannot be read as a file is neither read nor replaced.
    fs::create_directory(file);
    writeBytes(file / "inside", "x");
    EXPECT_NO_THROW(settings.write("Soft", "AutoSearch", "0"));
    EXPECT_EQ(settings.read("Soft", "AutoSearch", "1"), "1");
    EXPECT_TRUE(fs::is_directory(file));
    EXPECT_EQ(readBytes(file / "inside"), "x");
    EXPECT_EQ(TempDir::entries(dir.path()), std::set<std::string>{"config.ini"});
}

// A writer killed between creating its temporary file and renaming it leaves the file behind;
// the next writer removes it, but never one whose writer is still running.
TEST_F(IniSettingsFile, TemporariesOfDeadWritersAreRemoved)
{
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        ::_exit(0);
    ASSERT_EQ(::waitpid(child, nullptr, 0), child);

    const std::string dead = ".config.ini." + std::to_string(child) + ".0.tmp";
    const std::string alive = ".config.ini." + std::to_string(::getppid()) + ".0.tmp";
    const std::string other = ".other.ini." + std::to_string(child) + ".0.tmp";
    for (const std::string& name : {dead, alive, other})
        writeBytes(dir / name, "[Soft]\nAutoSe");

    settings.write("Soft", "AutoSearch", "0");

    EXPECT_EQ(TempDir::entries(dir.path()), (std::set<std::string>{"config.ini", alive, other}));
    EXPECT_EQ(readBytes(file), "[Soft]\r\nAutoSearch=0\r\n");
}

TEST(ReplaceFileAtomically, NewFileFollowsTheUmaskAndAFailureLeavesNothing)
{
    TempDir dir;
    const mode_t old = ::umask(027);
    const bool written = replaceFileAtomically(dir / "a.txt", "abc");
    const bool failed = replaceFileAtomically(dir / "no" / "a.txt", "abc");
    ::umask(old);

    EXPECT_TRUE(written);
    EXPECT_EQ(readBytes(dir / "a.txt"), "abc");
    EXPECT_EQ(testing::permissions(dir / "a.txt"), 0640u);
    EXPECT_FALSE(failed);
    EXPECT_EQ(TempDir::entries(dir.path()), std::set<std::string>{"a.txt"});
}

} // namespace
} // namespace velkora
