#include "platform/core/AtomicFile.h"

#include "platform/core/FileSystem.h"
#include "platform/core/Utf8.h"
#include "platform/core/Win32Error.h"
#include "tests/support/TempDir.h"

#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace platform;

namespace {

std::u16string u16(const std::string& s)
{
    return from_utf8(s);
}

// Names in the folder, to see that no temporary file was left behind.
std::vector<std::u16string> names_in(const std::string& folder)
{
    std::vector<DirectoryEntry> entries;
    list_directory(u16(folder), entries);
    std::vector<std::u16string> names;
    for (auto& e : entries)
        names.push_back(e.name);
    return names;
}

}

TEST(AtomicFile, CreatesAndReplacesKeepingTheMode)
{
    test::TempDir dir;
    auto path = dir.file("settings.xml");
    EXPECT_EQ(write_file_atomically(u16(path), "one"), error_success);
    EXPECT_EQ(test::read_file(path), "one");
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);
    EXPECT_EQ(write_file_atomically(u16(path), "two"), error_success);
    EXPECT_EQ(test::read_file(path), "two");
    struct stat st;
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(names_in(dir.path()), std::vector<std::u16string> { u"settings.xml" });
}

TEST(AtomicFile, ReplacesTheFileBehindALink)
{
    test::TempDir dir;
    auto real = dir.write("real.xml", "old");
    ASSERT_EQ(symlink("real.xml", dir.file("link.xml").c_str()), 0);
    EXPECT_EQ(write_file_atomically(u16(dir.file("link.xml")), "new"), error_success);
    EXPECT_EQ(test::read_file(real), "new");
    struct stat st;
    ASSERT_EQ(lstat(dir.file("link.xml").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
}

TEST(AtomicFile, RefusalsLeaveTheOldFile)
{
    test::TempDir dir;
    auto path = dir.write("ro.xml", "keep");
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    EXPECT_EQ(write_file_atomically(u16(path), "lost"), error_access_denied);
    EXPECT_EQ(test::read_file(path), "keep");
    EXPECT_EQ(write_file_atomically(u16(dir.path()), "x"), error_access_denied);
    EXPECT_EQ(write_file_atomically(u16(dir.file("no/such.xml")), "x"), error_path_not_found);
}

TEST(AtomicFile, AFullDiskLeavesTheOldFileWhole)
{
    test::TempDir dir;
    auto path = dir.write("settings.xml", "old contents");
    // A file size limit makes writes fail as on a full disk.
    signal(SIGXFSZ, SIG_IGN);
    rlimit saved;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    uint32_t error = write_file_atomically(u16(path), std::string(100000, 'x'));
    setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_EQ(error, error_disk_full);
    EXPECT_EQ(test::read_file(path), "old contents");
    EXPECT_EQ(names_in(dir.path()), std::vector<std::u16string> { u"settings.xml" });
}
