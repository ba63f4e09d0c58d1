#include "platform/files/RunDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

#include "support/TempDir.h"

namespace velkora {
namespace {

namespace fs = std::filesystem;

// The test program itself is "platform_files" in its build directory.
TEST(RunDir, IsTheExecutablesDirectoryWhereverTheProcessStands)
{
    const fs::path before = fs::current_path();
    testing::TempDir elsewhere;
    fs::current_path(elsewhere.path());
    const std::string dir = runDir();
    fs::current_path(before);

    ASSERT_FALSE(dir.empty());
    EXPECT_EQ(dir.front(), '/');
    EXPECT_NE(dir.back(), '/');
    EXPECT_TRUE(fs::equivalent(dir + "/platform_files", "/proc/self/exe"));
}

} // namespace
} // namespace velkora
