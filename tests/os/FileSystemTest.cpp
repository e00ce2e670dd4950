#include "os/FileSystem.h"

#include "os/FileInfo.h"
#include "platform/core/Utf8.h"
#include "tests/support/EnvironmentOverride.h"
#include "tests/support/TempDir.h"

#include <filesystem>
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

// Stored paths go in as they are: the calls expand their macros.
TEST(FileSystem, FileCallsTakeStoredPaths)
{
    test::TempDir dir;
    test::EnvironmentOverride app("ORVANTA_APP_PATH", dir.path().c_str());
    ASSERT_TRUE(os::write_file_atomically(u"%app_path%\\list.m3u", "old"));
    EXPECT_EQ(test::read_file(dir.file("list.m3u")), "old");

    platform::FileStatus status;
    ASSERT_TRUE(os::file_status(u"%app_path%\\list.m3u", status));
    EXPECT_EQ(status.size, 3U);
    ASSERT_TRUE(os::file_status(u"%app_path%\\", status));
    EXPECT_NE(status.attributes & platform::file_attribute_directory, 0U);
    EXPECT_FALSE(os::file_status(u"%app_path%\\missing", status));

    dir.write("new", "newer");
    ASSERT_TRUE(os::replace_file(u"%app_path%\\new", u"%app_path%\\list.m3u"));
    EXPECT_EQ(test::read_file(dir.file("list.m3u")), "newer");
    EXPECT_FALSE(std::filesystem::exists(dir.file("new")));
    EXPECT_FALSE(os::replace_file(u"%app_path%\\new", u"%app_path%\\list.m3u"));

    std::filesystem::create_directory(dir.file("real"));
    std::filesystem::create_directory_symlink(dir.file("real"), dir.file("link"));
    const std::u16string real = os::resolve_path(u16(dir.file("real")));
    ASSERT_FALSE(real.empty());
    EXPECT_EQ(os::resolve_path(u"%app_path%\\link"), real);
    EXPECT_EQ(os::resolve_path(u"%app_path%\\missing"), u"");

    ASSERT_TRUE(os::copy_link(u"%app_path%\\link", u"%app_path%\\copy"));
    EXPECT_EQ(
        std::filesystem::read_symlink(dir.file("copy")), std::filesystem::read_symlink(dir.file("link")));
    EXPECT_FALSE(os::copy_link(u"%app_path%\\link", u"%app_path%\\copy"));
}
