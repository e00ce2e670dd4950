#include "os/File.h"

#include "platform/core/Utf8.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace {

std::u16string wide(const std::string& path)
{
    return platform::from_utf8(path);
}

}

TEST(File, MissingFileFailsEveryOperation)
{
    test::TempDir dir;
    os::File file(wide(dir.file("missing")), os::File::Mode::read);
    EXPECT_FALSE(file.is_ok());
    EXPECT_EQ(file.errors(), std::vector<std::u16string> { u"can't open file" });
    char byte = 0;
    EXPECT_EQ(file.size(), 0u);
    EXPECT_EQ(file.tell(), 0u);
    EXPECT_EQ(file.read(&byte, 1), 0u);
    EXPECT_EQ(file.skip(1), 0);
    EXPECT_EQ(file.write(&byte, 1), 0u);
    EXPECT_FALSE(file.seek(0));
    EXPECT_FALSE(file.truncate(0));
    EXPECT_FALSE(file.flush());
}

TEST(File, FoldersDoNotOpen)
{
    test::TempDir dir;
    for (auto mode : { os::File::Mode::read, os::File::Mode::write, os::File::Mode::append,
             os::File::Mode::read_write }) {
        os::File file(wide(dir.path()), mode);
        EXPECT_FALSE(file.is_ok()) << static_cast<int>(mode);
    }
}

TEST(File, OpenModes)
{
    test::TempDir dir;
    std::string path = dir.write("f", "hello");
    {
        os::File file(wide(path), os::File::Mode::append);
        ASSERT_TRUE(file.is_ok());
        EXPECT_EQ(file.tell(), 5u);
        EXPECT_EQ(file.write("!", 1), 1u);
    }
    EXPECT_EQ(test::read_file(path), "hello!");
    {
        os::File file(wide(dir.file("new")), os::File::Mode::append);
        ASSERT_TRUE(file.is_ok());
        EXPECT_EQ(file.tell(), 0u);
    }
    {
        os::File file(wide(path), os::File::Mode::write);
        ASSERT_TRUE(file.is_ok());
        EXPECT_EQ(file.size(), 0u);
    }
    EXPECT_EQ(test::read_file(path), "");
    {
        // Any other mode reads and writes, creating the file.
        os::File file(wide(dir.file("rw")), static_cast<os::File::Mode>(7));
        ASSERT_TRUE(file.is_ok());
        EXPECT_EQ(file.write("abc", 3), 3u);
        ASSERT_TRUE(file.seek(1));
        char buf[4] = {};
        EXPECT_EQ(file.read(buf, 3), 2u);
        EXPECT_STREQ(buf, "bc");
    }
}

TEST(File, WriteThroughReadModeReturnsZeroAndStaysOk)
{
    test::TempDir dir;
    os::File file(wide(dir.write("f", "abc")), os::File::Mode::read);
    EXPECT_EQ(file.write("x", 1), 0u);
    EXPECT_TRUE(file.is_ok());
    EXPECT_EQ(file.read(nullptr, 0), 0u);
    EXPECT_EQ(file.skip(0), 0);
}

TEST(File, SkipSeekTellTruncate)
{
    test::TempDir dir;
    std::string path = dir.write("f", "0123456789");
    os::File file(wide(path), os::File::Mode::read_write);
    EXPECT_EQ(file.skip(4), 4);
    EXPECT_EQ(file.skip(-3), -3);
    EXPECT_EQ(file.tell(), 1u);
    EXPECT_EQ(file.skip(-5), 0); // before the start: nothing moves
    EXPECT_EQ(file.tell(), 1u);
    EXPECT_EQ(file.skip(100), 100); // past the end is allowed
    EXPECT_EQ(file.tell(), 101u);
    EXPECT_TRUE(file.truncate(6));
    EXPECT_EQ(file.tell(), 6u);
    EXPECT_EQ(file.size(), 6u);
    EXPECT_TRUE(file.flush());
    EXPECT_TRUE(file.is_ok());
    file.close();
    EXPECT_EQ(test::read_file(path), "012345");
}

TEST(File, LargeOffsetsAreSixtyFourBit)
{
    test::TempDir dir;
    os::File file(wide(dir.file("sparse")), os::File::Mode::read_write);
    const std::uint64_t far = (std::uint64_t(5) << 30) + 3; // beyond 4 GiB
    ASSERT_TRUE(file.seek(far));
    ASSERT_EQ(file.write("z", 1), 1u);
    EXPECT_EQ(file.size(), far + 1);
    EXPECT_EQ(file.tell(), far + 1);
    EXPECT_TRUE(file.truncate(0));
}

TEST(File, ReadersShareWritersExclude)
{
    test::TempDir dir;
    std::u16string path = wide(dir.write("f", "keep"));
    {
        os::File reader1(path, os::File::Mode::read);
        os::File reader2(path, os::File::Mode::read);
        EXPECT_TRUE(reader1.is_ok());
        EXPECT_TRUE(reader2.is_ok());
        os::File writer(path, os::File::Mode::write);
        EXPECT_FALSE(writer.is_ok());
    }
    // The refused writer must not have emptied the file.
    EXPECT_EQ(test::read_file(dir.file("f")), "keep");
    os::File writer(path, os::File::Mode::append);
    ASSERT_TRUE(writer.is_ok());
    EXPECT_FALSE(os::File(path, os::File::Mode::read).is_ok());
}

TEST(File, BackslashesAndMacrosInThePath)
{
    test::TempDir dir;
    dir.write("sub/x.txt", "x");
    std::string backslashed = dir.path() + "\\sub\\x.txt";
    os::File file(wide(backslashed), os::File::Mode::read);
    EXPECT_TRUE(file.is_ok());
}

TEST(File, OneErrorListSeenFromBothSides)
{
    test::TempDir dir;
    os::File file(wide(dir.write("f", "")), os::File::Mode::read_write);
    liba::ResourceWriter& writer = file;
    liba::ResourceReader& reader = file;
    writer.add_error(u"disk full");
    EXPECT_FALSE(reader.is_ok());
    EXPECT_EQ(reader.errors(), std::vector<std::u16string> { u"disk full" });
    EXPECT_EQ(file.write("x", 1), 0u);
}
