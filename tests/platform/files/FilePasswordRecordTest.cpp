#include "platform/files/FilePasswordRecord.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <sys/stat.h>

#include "support/ScopedEnv.h"
#include "support/TempDir.h"

namespace velkora {
namespace {

namespace fs = std::filesystem;
using testing::ScopedEnv;
using testing::TempDir;

const char* const Digest = "0cc175b9c0f1b6a831c399e269772661";

class PasswordRecordFile : public ::testing::Test {
protected:
    TempDir config;
    ScopedEnv xdg{"XDG_CONFIG_HOME", config.path().c_str()};
    FilePasswordRecord record{defaultPasswordRecordFile()};
    fs::path pw = config / "tamrel studio" / "vlkr" / "pw";
};

TEST_F(PasswordRecordFile, LivesUnderXdgConfigHome)
{
    EXPECT_EQ(record.file(), pw);
}

TEST_F(PasswordRecordFile, AbsentThenDigestThenEmptyThenRemoved)
{
    EXPECT_EQ(record.read(), std::nullopt);

    ASSERT_TRUE(record.write(Digest));
    EXPECT_EQ(record.read(), Digest);
    EXPECT_EQ(testing::readBytes(pw), Digest);
    EXPECT_EQ(testing::permissions(pw), 0600u);
    EXPECT_EQ(testing::permissions(config / "tamrel studio"), 0700u);
    EXPECT_EQ(testing::permissions(config / "tamrel studio" / "vlkr"), 0700u);

    ASSERT_TRUE(record.write(""));
    EXPECT_EQ(record.read(), std::optional<std::string>(""));

    EXPECT_TRUE(record.remove());
    EXPECT_EQ(record.read(), std::nullopt);
    EXPECT_FALSE(fs::exists(pw));
    EXPECT_TRUE(record.remove()) << "removing an absent record succeeds";
    EXPECT_EQ(TempDir::entries(config / "tamrel studio" / "vlkr"), std::set<std::string>{});
}

// The file is private whatever the umask and whatever mode an older file had.
TEST_F(PasswordRecordFile, AlwaysWrittenWithModeSixHundred)
{
    fs::create_directories(pw.parent_path());
    testing::writeBytes(pw, "old");
    fs::permissions(pw, fs::perms(0644));

    const mode_t old = ::umask(0277);
    const bool replaced = record.write(Digest);
    ::umask(0);
    FilePasswordRecord fresh(config / "other" / "pw");
    const bool created = fresh.write(Digest);
    ::umask(old);

    ASSERT_TRUE(replaced);
    ASSERT_TRUE(created);
    EXPECT_EQ(testing::permissions(pw), 0600u);
    EXPECT_EQ(testing::permissions(config / "other" / "pw"), 0600u);
    EXPECT_EQ(testing::permissions(config / "other"), 0700u);
    EXPECT_EQ(record.read(), Digest);
}

// A stored text ends at its terminating zero; anything else in the file is read exactly.
TEST_F(PasswordRecordFile, ReadsTheTextExactly)
{
    fs::create_directories(pw.parent_path());
    const std::pair<std::string, std::string> cases[] = {
        {std::string(Digest) + '\0', Digest},
        {std::string("abc\0def", 7), "abc"},
        {"0CC175B9C0F1B6A831C399E269772661", "0CC175B9C0F1B6A831C399E269772661"},
        {std::string(Digest) + "\n", std::string(Digest) + "\n"},
    };
    for (const auto& [bytes, expected] : cases) {
        testing::writeBytes(pw, bytes);
        EXPECT_EQ(record.read(), expected);
    }
}

TEST(PasswordRecordLocation, FallsBackToHomeConfigWhenXdgConfigHomeIsUnsetOrRelative)
{
    ScopedEnv home("HOME", "/home/someone");
    const fs::path expected = "/home/someone/.config/tamrel studio/vlkr/pw";
    for (const char* xdg : {static_cast<const char*>(nullptr), "", "relative/dir"}) {
        ScopedEnv env("XDG_CONFIG_HOME", xdg);
        EXPECT_EQ(defaultPasswordRecordFile(), expected) << (xdg ? xdg : "(unset)");
    }
}

} // namespace
} // namespace velkora
