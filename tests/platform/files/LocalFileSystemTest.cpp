#include "platform/files/LocalFileSystem.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "support/TempDir.h"

namespace velkora {
namespace {

using testing::readBytes;
using testing::TempDir;
using testing::writeBytes;

class LocalFileSystemTest : public ::testing::Test {
protected:
    std::string path(const std::string& name) const { return (dir / name).string(); }

    TempDir dir;
    LocalFileSystem files;
};

TEST_F(LocalFileSystemTest, SizeAndExistence)
{
    writeBytes(dir / "skinh.she", std::string(26370, 'x'));
    writeBytes(dir / "empty", "");
    std::filesystem::create_symlink(dir / "nowhere", dir / "dangling");

    EXPECT_EQ(files.fileSize(path("skinh.she")), 26370);
    EXPECT_EQ(files.fileSize(path("empty")), 0);
    EXPECT_EQ(files.fileSize(path("missing")), -1);
    EXPECT_EQ(files.fileSize(path("dangling")), -1);
    EXPECT_TRUE(files.exists(path("skinh.she")));
    EXPECT_TRUE(files.exists(path("empty")));
    EXPECT_FALSE(files.exists(path("missing")));
    EXPECT_FALSE(files.exists(path("dangling")));
}

TEST_F(LocalFileSystemTest, RemoveDeletesFilesButNeverADirectory)
{
    writeBytes(dir / "skinh.she", "old");
    std::filesystem::create_directory(dir / "folder");

    files.remove(path("skinh.she"));
    files.remove(path("folder"));
    files.remove(path("missing"));

    EXPECT_FALSE(std::filesystem::exists(dir / "skinh.she"));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "folder"));
}

TEST_F(LocalFileSystemTest, WriteFileReplacesTheWholeFileAndLeavesNothingElse)
{
    writeBytes(dir / "skinh.she", std::string(50000, 'o'));
    const std::string skin = std::string("QWidget {}\n\0tail", 16);

    EXPECT_TRUE(files.writeFile(path("skinh.she"), skin));
    EXPECT_EQ(readBytes(dir / "skinh.she"), skin);
    EXPECT_TRUE(files.writeFile(path("new.she"), skin));
    EXPECT_EQ(readBytes(dir / "new.she"), skin);
    EXPECT_EQ(TempDir::entries(dir.path()), (std::set<std::string>{"new.she", "skinh.she"}));

    EXPECT_FALSE(files.writeFile(path("no such directory/skinh.she"), skin));
}

} // namespace
} // namespace velkora
