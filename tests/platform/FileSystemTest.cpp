#include "platform/core/FileSystem.h"

#include "platform/core/Utf8.h"
#include "platform/core/Win32Error.h"
#include "tests/support/EnvironmentOverride.h"
#include "tests/support/TempDir.h"

#include <cstdlib>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace platform;

namespace {

std::u16string u16(const std::string& s)
{
    return from_utf8(s);
}

bool exists(const std::string& path)
{
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}

FileStatus status_of(const std::string& path, uint32_t expected_error = error_success)
{
    FileStatus status;
    EXPECT_EQ(file_status(u16(path), status), expected_error) << path;
    return status;
}

// A folder "target" holding "keep", a link "link" to it and a dangling link "dangling".
void make_links(const test::TempDir& dir)
{
    ASSERT_EQ(mkdir(dir.file("target").c_str(), 0777), 0);
    dir.write("target/keep", "k");
    ASSERT_EQ(symlink("target", dir.file("link").c_str()), 0);
    ASSERT_EQ(symlink("nowhere", dir.file("dangling").c_str()), 0);
}

}

TEST(FileSystem, MissingPathsGiveTheNotFoundCodes)
{
    test::TempDir dir;
    auto status = status_of(dir.file("missing"), error_file_not_found);
    EXPECT_EQ(status.attributes, invalid_file_attributes);
    EXPECT_EQ(status.size, 0u);
    dir.write("file", "x");
    status_of(dir.file("file/below"), error_path_not_found);
    status_of(dir.file("no/such"), error_path_not_found);
}

TEST(FileSystem, DescribesFilesAndFolders)
{
    test::TempDir dir;
    auto file = dir.write("a.txt", "hello");
    // One second after 1970-01-01, whose FILETIME is 116444736000000000.
    struct timespec times[2] = { { 1, 0 }, { 1, 0 } };
    ASSERT_EQ(utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
    auto status = status_of(file);
    EXPECT_EQ(status.attributes, file_attribute_normal);
    EXPECT_EQ(status.size, 5u);
    EXPECT_EQ(status.last_write_time, 116444736010000000u);

    EXPECT_EQ(status_of(dir.path()).attributes & file_attribute_directory, file_attribute_directory);
    EXPECT_EQ(status_of(dir.write(".profile", "")).attributes, file_attribute_hidden);

    ASSERT_EQ(chmod(file.c_str(), 0444), 0);
    EXPECT_EQ(status_of(file).attributes, file_attribute_read_only);
}

TEST(FileSystem, SizesBeyondFourGigabytes)
{
    test::TempDir dir;
    auto file = dir.write("big", "");
    const off_t size = (5LL << 30) + 3;
    ASSERT_EQ(truncate(file.c_str(), size), 0);
    EXPECT_EQ(status_of(file).size, static_cast<uint64_t>(size));
}

TEST(FileSystem, SymbolicLinksAreMarkedAndRemovedThemselves)
{
    test::TempDir dir;
    make_links(dir);

    EXPECT_EQ(
        status_of(dir.file("link")).attributes, file_attribute_directory | file_attribute_reparse_point);
    EXPECT_EQ(status_of(dir.file("dangling")).attributes & file_attribute_reparse_point,
        file_attribute_reparse_point);

    EXPECT_EQ(remove_file(u16(dir.file("link"))), error_success);
    EXPECT_FALSE(exists(dir.file("link")));
    EXPECT_TRUE(exists(dir.file("target/keep")));
}

TEST(FileSystem, LinksCopyAsLinksAndPathsResolve)
{
    test::TempDir dir;
    make_links(dir);

    // The link's own text is copied, relative or dangling as it is.
    EXPECT_EQ(copy_symbolic_link(u16(dir.file("link")), u16(dir.file("copy"))), error_success);
    EXPECT_EQ(copy_symbolic_link(u16(dir.file("dangling")), u16(dir.file("copy2"))), error_success);
    char text[64] = {};
    ASSERT_EQ(readlink(dir.file("copy").c_str(), text, sizeof text - 1), 6);
    EXPECT_STREQ(text, "target");
    EXPECT_EQ(copy_symbolic_link(u16(dir.file("link")), u16(dir.file("copy"))), error_already_exists);
    EXPECT_EQ(copy_symbolic_link(u16(dir.file("target/keep")), u16(dir.file("x"))), error_invalid_parameter);
    EXPECT_EQ(copy_symbolic_link(u16(dir.file("missing")), u16(dir.file("x"))), error_file_not_found);

    char* real_dir = realpath(dir.path().c_str(), nullptr);
    std::string base = real_dir;
    free(real_dir);
    std::u16string resolved;
    EXPECT_EQ(resolve_path(u16(dir.file("link/../link/./keep")), resolved), error_success);
    EXPECT_EQ(resolved, u16(base + "/target/keep"));
    EXPECT_NE(resolve_path(u16(dir.file("dangling")), resolved), error_success);
}

TEST(FileSystem, ReadOnlyIsTheOwnerWriteBit)
{
    test::TempDir dir;
    auto file = dir.write("f", "");
    ASSERT_EQ(chmod(file.c_str(), 0664), 0);
    EXPECT_EQ(set_read_only(u16(file), true), error_success);
    struct stat st;
    ASSERT_EQ(stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0464u);
    EXPECT_EQ(set_read_only(u16(file), false), error_success);
    ASSERT_EQ(stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0664u);
    EXPECT_EQ(set_read_only(u16(dir.file("missing")), true), error_file_not_found);
}

TEST(FileSystem, FolderCreationAndRemovalErrors)
{
    test::TempDir dir;
    auto folder = u16(dir.file("sub"));
    EXPECT_EQ(create_directory(folder), error_success);
    EXPECT_EQ(create_directory(folder), error_already_exists);
    EXPECT_EQ(create_directory(u16(dir.file("no/such"))), error_path_not_found);
    dir.write("sub/f", "");
    EXPECT_EQ(remove_directory(folder), error_dir_not_empty);
    EXPECT_EQ(remove_file(folder), error_access_denied);
    EXPECT_EQ(remove_file(u16(dir.file("sub/f"))), error_success);
    EXPECT_EQ(remove_directory(folder), error_success);
}

TEST(FileSystem, MoveNeverReplacesAnExistingTarget)
{
    test::TempDir dir;
    auto a = dir.write("a", "first");
    auto b = dir.write("b", "second");
    EXPECT_EQ(move_file(u16(a), u16(b)), error_already_exists);
    EXPECT_EQ(test::read_file(a), "first");
    EXPECT_EQ(test::read_file(b), "second");

    ASSERT_EQ(mkdir(dir.file("d").c_str(), 0777), 0);
    EXPECT_EQ(move_file(u16(a), u16(dir.file("d/a2"))), error_success);
    EXPECT_EQ(test::read_file(dir.file("d/a2")), "first");
    EXPECT_FALSE(exists(a));
    EXPECT_EQ(move_file(u16(dir.file("d")), u16(dir.file("e"))), error_success);
    EXPECT_EQ(test::read_file(dir.file("e/a2")), "first");
    EXPECT_EQ(move_file(u16(dir.file("gone")), u16(dir.file("x"))), error_file_not_found);
    EXPECT_EQ(move_file(u16(b), u16(dir.file("no/such"))), error_path_not_found);
    EXPECT_EQ(test::read_file(b), "second");
}

TEST(FileSystem, MovesFilesToAnotherFileSystem)
{
    test::TempDir here;
    const char* shm = "/dev/shm";
    struct stat a, b;
    if (stat(shm, &a) != 0 || stat(here.path().c_str(), &b) != 0 || a.st_dev == b.st_dev
        || access(shm, W_OK) != 0)
        GTEST_SKIP() << "needs /dev/shm on another file system than the temporary folder";
    std::string target = std::string(shm) + "/orvanta-move-" + std::to_string(getpid());
    auto source = here.write("song.mp3", "music");
    ASSERT_EQ(chmod(source.c_str(), 0640), 0);
    EXPECT_EQ(move_file(u16(source), u16(target)), error_success);
    EXPECT_EQ(test::read_file(target), "music");
    struct stat st;
    ASSERT_EQ(stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_FALSE(exists(source));

    // Back again onto an existing file: refused, both stay.
    auto other = here.write("song.mp3", "other");
    EXPECT_EQ(move_file(u16(target), u16(other)), error_already_exists);
    EXPECT_EQ(test::read_file(target), "music");
    EXPECT_EQ(test::read_file(other), "other");
    unlink(target.c_str());

    // Folders do not cross file systems.
    ASSERT_EQ(mkdir(here.file("folder").c_str(), 0777), 0);
    EXPECT_EQ(move_file(u16(here.file("folder")), u16(target)), error_not_same_device);
    EXPECT_TRUE(exists(here.file("folder")));
    EXPECT_FALSE(exists(target));
}

TEST(FileSystem, FreeSpace)
{
    test::TempDir dir;
    uint64_t bytes = 0;
    EXPECT_EQ(free_space(u16(dir.path()), bytes), error_success);
    EXPECT_GT(bytes, 0u);
    uint64_t untouched = 7;
    EXPECT_EQ(free_space(u16(dir.file("missing")), untouched), error_file_not_found);
    EXPECT_EQ(untouched, 7u);
}

TEST(FileSystem, ListsFoldersSortedWithLinksMarked)
{
    test::TempDir dir;
    dir.write("b.mp3", "");
    dir.write("a.mp3", "");
    ASSERT_EQ(mkdir(dir.file("c").c_str(), 0777), 0);
    ASSERT_EQ(symlink(".", dir.file("loop").c_str()), 0);

    std::vector<DirectoryEntry> entries;
    ASSERT_EQ(list_directory(u16(dir.path()), entries), error_success);
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].name, u"a.mp3");
    EXPECT_EQ(entries[0].attributes, file_attribute_normal);
    EXPECT_EQ(entries[1].name, u"b.mp3");
    EXPECT_EQ(entries[2].name, u"c");
    EXPECT_EQ(entries[2].attributes, file_attribute_directory);
    EXPECT_EQ(entries[3].name, u"loop");
    EXPECT_EQ(entries[3].attributes, file_attribute_directory | file_attribute_reparse_point);

    EXPECT_EQ(list_directory(u16(dir.file("missing")), entries), error_file_not_found);
    EXPECT_TRUE(entries.empty());
}

TEST(FileSystem, LocalFileTimeFollowsTheTimeZone)
{
    const uint64_t hour = 36'000'000'000;
    {
        test::EnvironmentOverride zone("TZ", "XYZ-2"); // two hours east of UTC
        tzset();
        EXPECT_EQ(local_file_time(116444736000000000u), 116444736000000000u + 2 * hour);
    }
    tzset();
}

TEST(FileSystem, ReplaceTakesTheTargetsPlaceWhole)
{
    test::TempDir dir;
    auto target = dir.write("target", "old");
    EXPECT_EQ(replace_file(u16(dir.write("new", "new")), u16(target)), error_success);
    EXPECT_EQ(test::read_file(target), "new");
    EXPECT_FALSE(exists(dir.file("new")));

    // A missing source or a folder in the way change nothing.
    EXPECT_EQ(replace_file(u16(dir.file("gone")), u16(target)), error_file_not_found);
    EXPECT_EQ(test::read_file(target), "new");
    ASSERT_EQ(mkdir(dir.file("folder").c_str(), 0777), 0);
    EXPECT_EQ(replace_file(u16(dir.write("more", "more")), u16(dir.file("folder"))), error_access_denied);
    EXPECT_TRUE(exists(dir.file("more")));

    // Through a link, the file it points to is replaced and the link stays.
    ASSERT_EQ(symlink("target", dir.file("link").c_str()), 0);
    EXPECT_EQ(replace_file(u16(dir.file("more")), u16(dir.file("link"))), error_success);
    EXPECT_EQ(test::read_file(target), "more");
    struct stat st;
    ASSERT_EQ(lstat(dir.file("link").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
}
