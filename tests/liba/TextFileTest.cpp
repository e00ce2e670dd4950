#include "liba/TextFile.h"

#include "os/File.h"
#include "platform/core/Utf8.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace {

std::u16string read_text(const std::string& bytes, std::uint64_t max = UINT64_MAX, std::uint64_t start = 0)
{
    test::TempDir dir;
    os::File file(platform::from_utf8(dir.write("t", bytes)), os::File::Mode::read);
    file.seek(start);
    return liba::read_text_file(file, max);
}

}

TEST(ReadTextFile, MarkAndLength)
{
    struct {
        std::string bytes;
        std::u16string text;
    } cases[] = {
        // clang-format off
        { std::string("\xFF\xFE" "a\0\x16\x04", 6), u"a\u0416" },  // UTF-16LE, mark dropped
        { std::string("\xFF\xFE" "a\0\x16", 5),                     // odd length: 8-bit
            std::u16string(u"\u00FF\u00FE" "a\u0000\u0016", 5) },
        { "caf\xE9", u"caf\u00E9" },                                 // no mark: ANSI
        { "\xFF\xFE", u"" },
        { "\xFF", u"\u00FF" },
        { "", u"" },
        // clang-format on
    };

    for (const auto& c : cases)
        EXPECT_EQ(read_text(c.bytes), c.text);
}

TEST(ReadTextFile, LimitAndPosition)
{
    // The limit decides the length, and with it whether the mark counts.
    EXPECT_EQ(read_text(std::string("\xFF\xFEx\0y\0", 6), 4), u"x");
    EXPECT_EQ(read_text(std::string("\xFF\xFEx\0y\0", 6), 3), u"\u00FF\u00FEx");
    EXPECT_EQ(read_text("skip this", UINT64_MAX, 5), u"this");
    EXPECT_EQ(read_text("abc", UINT64_MAX, 10), u"");
}

TEST(ReadTextFile, FailedFileGivesEmptyText)
{
    test::TempDir dir;
    os::File file(platform::from_utf8(dir.file("missing")), os::File::Mode::read);
    EXPECT_EQ(liba::read_text_file(file), u"");
}
