#include "os/FileInfo.h"

#include "platform/core/FileSystem.h"
#include "platform/core/Utf8.h"
#include "platform/core/Win32Error.h"
#include "tests/support/EnvironmentOverride.h"
#include "tests/support/TempDir.h"

#include <ctime>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using os::FileInfo;

namespace {

std::u16string u16(const std::string& s)
{
    return platform::from_utf8(s);
}

bool on_disk(const std::string& path)
{
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}

}

TEST(FileInfo, MissingPath)
{
    test::TempDir dir;
    FileInfo info(u16(dir.file("missing.wav")));
    EXPECT_FALSE(info.exists());
    EXPECT_FALSE(info.is_directory());
    EXPECT_FALSE(info.is_read_only());
    EXPECT_EQ(info.size(), 0u);
    EXPECT_EQ(info.error(), platform::error_file_not_found);
    EXPECT_EQ(info.attributes(), platform::invalid_file_attributes);
    // Already "read-only" by its attributes: nothing to do.
    EXPECT_TRUE(info.set_read_only(true));
    EXPECT_FALSE(info.set_read_only(false));
    EXPECT_EQ(info.error(), platform::error_file_not_found);
}

TEST(FileInfo, FilesAndFoldersWithOrWithoutTrailingSeparator)
{
    test::TempDir dir;
    dir.write("music/song.mp3", "12345");
    FileInfo file(u16(dir.file("music/song.mp3")));
    EXPECT_TRUE(file.exists());
    EXPECT_FALSE(file.is_directory());
    EXPECT_EQ(file.size(), 5u);
    EXPECT_EQ(file.error(), platform::error_success);
    for (const char* suffix : { "", "/", "\\" }) {
        FileInfo folder(u16(dir.file("music") + suffix));
        EXPECT_TRUE(folder.is_directory()) << suffix;
        EXPECT_EQ(folder.path(), u16(dir.file("music") + suffix));
    }
}

TEST(FileInfo, TimesAreLocal)
{
    test::TempDir dir;
    auto path = dir.write("memo.wav", "");
    struct timespec times[2] = { { 1147854600, 0 }, { 1147854600, 0 } }; // 2006-05-17 08:30:00 UTC
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    test::EnvironmentOverride zone("TZ", "XYZ-2"); // two hours east
    tzset();
    FileInfo info(u16(path));
    tzset();
    const liba::DateTime& t = info.last_write_time();
    EXPECT_EQ(std::vector<int>({ t.year(), t.month(), t.day(), t.hour(), t.minute(), t.second() }),
        std::vector<int>({ 2006, 5, 17, 10, 30, 0 }));
    EXPECT_GT(info.creation_time().year(), 1601);
    EXPECT_EQ(FileInfo(u16(dir.file("missing"))).last_write_time().year(), 1601);
}

TEST(FileInfo, SetReadOnlyTouchesTheDiskOnlyForAChange)
{
    test::TempDir dir;
    auto path = dir.write("memo.wav", "");
    FileInfo info(u16(path));
    ASSERT_FALSE(info.is_read_only());
    ASSERT_TRUE(info.set_read_only(true));
    EXPECT_TRUE(info.is_read_only());
    EXPECT_TRUE(FileInfo(u16(path)).is_read_only());
    ASSERT_TRUE(info.set_read_only(false));
    EXPECT_FALSE(FileInfo(u16(path)).is_read_only());

    // The snapshot says writable already; with the file gone, a call would fail.
    unlink(path.c_str());
    EXPECT_TRUE(info.set_read_only(false));
    EXPECT_FALSE(info.set_read_only(true));
    EXPECT_EQ(info.error(), platform::error_file_not_found);
}

TEST(FileInfo, Remove)
{
    test::TempDir dir;
    dir.write("full/inside", "");
    ASSERT_EQ(mkdir(dir.file("empty").c_str(), 0777), 0);
    ASSERT_EQ(symlink("full", dir.file("link").c_str()), 0);
    auto file = dir.write("file", "");

    FileInfo full(u16(dir.file("full")));
    EXPECT_FALSE(full.remove());
    EXPECT_EQ(full.error(), platform::error_dir_not_empty);
    EXPECT_TRUE(FileInfo(u16(dir.file("empty"))).remove());
    EXPECT_FALSE(on_disk(dir.file("empty")));
    EXPECT_TRUE(FileInfo(u16(file)).remove());
    EXPECT_FALSE(on_disk(file));

    FileInfo link(u16(dir.file("link")));
    EXPECT_TRUE(link.is_directory());
    EXPECT_TRUE(link.is_link());
    EXPECT_TRUE(link.remove());
    EXPECT_FALSE(on_disk(dir.file("link")));
    EXPECT_TRUE(on_disk(dir.file("full/inside")));

    FileInfo gone(u16(dir.file("gone")));
    EXPECT_FALSE(gone.remove());
    EXPECT_EQ(gone.error(), platform::error_file_not_found);
}

TEST(FileInfo, MoveOntoAnExistingFileFailsAndKeepsBoth)
{
    test::TempDir dir;
    auto a = dir.write("a.mp3", "a"), b = dir.write("b.mp3", "b");
    FileInfo info(u16(a));
    EXPECT_FALSE(info.move_to(u16(b)));
    EXPECT_EQ(info.error(), platform::error_already_exists);
    EXPECT_EQ(test::read_file(a), "a");
    EXPECT_EQ(test::read_file(b), "b");

    EXPECT_TRUE(info.move_to(u16(dir.file("c.mp3"))));
    EXPECT_EQ(info.error(), platform::error_success);
    EXPECT_EQ(test::read_file(dir.file("c.mp3")), "a");
    EXPECT_TRUE(info.exists()); // a snapshot of the old path
}

TEST(FileInfo, CreateDirectoryInsideAFolder)
{
    test::TempDir dir;
    FileInfo folder(u16(dir.path() + "/"));
    EXPECT_TRUE(folder.create_directory(u"2026-12-10"));
    EXPECT_TRUE(FileInfo(u16(dir.file("2026-12-10"))).is_directory());
    EXPECT_FALSE(folder.create_directory(u"2026-12-10"));
    EXPECT_EQ(folder.error(), platform::error_already_exists);
}
