#include "os/FileSystem.h"

#include "os/FileInfo.h"
#include "platform/core/Utf8.h"
#include "tests/support/EnvironmentOverride.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace {

std::u16string u16(const std::string& s)
{
    return platform::from_utf8(s);
}

}

TEST(FileSystem, CreateDirectoriesMakesEveryMissingFolder)
{
    test::TempDir dir;
    test::EnvironmentOverride app("ORVANTA_APP_PATH", dir.path().c_str());
    os::create_directories(u"%app_path%\\Memos\\2026/12\\");
    EXPECT_TRUE(os::FileInfo(u16(dir.file("Memos/2026/12"))).is_directory());
    os::create_directories(u16(dir.file("Memos/2026/12"))); // all there already
    os::create_directories(u"");
    dir.write("file", "");
    os::create_directories(u16(dir.file("file/below")));
    EXPECT_FALSE(os::FileInfo(u16(dir.file("file/below"))).exists());
}

TEST(FileSystem, FreeSpace)
{
    test::TempDir dir;
    EXPECT_GT(os::get_free_space(u16(dir.path())), 0.0);
    EXPECT_EQ(os::get_free_space(u16(dir.file("missing/folder"))), 0.0);
}
