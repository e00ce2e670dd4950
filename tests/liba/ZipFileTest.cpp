#include "liba/ZipFile.h"

#include "os/File.h"
#include "platform/core/Utf8.h"
#include "tests/support/TempDir.h"
#include "tests/support/Tool.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

std::u16string wide(const std::string& s)
{
    return platform::from_utf8(s);
}

std::unique_ptr<liba::ResourceReader> archive(const std::u16string& path)
{
    return std::make_unique<os::File>(path, os::File::Mode::read);
}

std::string le(std::uint32_t value, int bytes)
{
    std::string out;
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>(value >> (8 * i));
    return out;
}

struct Member {
    std::string name;
    std::string data;
    std::uint16_t method = 0;
    std::uint16_t flags = 0;
    std::int64_t compressed_size = -1; // -1: the data's size
    std::int64_t size = -1;
    std::string extra = "";
};

// A local header and its data, as a zip writer lays them out.
std::string local_member(const Member& m)
{
    auto size = static_cast<std::uint32_t>(m.size < 0 ? m.data.size() : m.size);
    auto compressed = static_cast<std::uint32_t>(m.compressed_size < 0 ? m.data.size() : m.compressed_size);
    return le(0x04034B50, 4) + le(10, 2) + le(m.flags, 2) + le(m.method, 2) + le(0, 4) + le(0, 4)
        + le(compressed, 4) + le(size, 4) + le(static_cast<std::uint32_t>(m.name.size()), 2)
        + le(static_cast<std::uint32_t>(m.extra.size()), 2) + m.name + m.extra + m.data;
}

std::vector<std::u16string> walk(liba::ZipFile& zip)
{
    std::vector<std::u16string> names;
    for (std::u16string name = zip.next_entry(); !name.empty(); name = zip.next_entry())
        names.push_back(name);
    return names;
}

std::vector<std::u16string> walk_bytes(const std::string& bytes)
{
    test::TempDir dir;
    liba::ZipFile zip(archive(wide(dir.write("a.zip", bytes))));
    return walk(zip);
}

std::string read_all(liba::ZipFile& zip)
{
    std::string data(static_cast<std::size_t>(zip.size()), '\0');
    data.resize(zip.read(data.data(), data.size()));
    return data;
}

class ZipTool : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!test::have_tool("zip"))
            GTEST_SKIP() << "zip is not installed";
    }

    // Adds files to the archive with the zip tool at the given compression level.
    void add(const std::string& archive, const std::vector<std::string>& names, const std::string& level)
    {
        std::vector<std::string> argv { "sh", "-c", "cd \"$0\" && exec zip -q -X " + level + " \"$@\"",
            dir.path(), archive };
        argv.insert(argv.end(), names.begin(), names.end());
        ASSERT_EQ(test::run_tool(argv).exit_code, 0);
    }

    test::TempDir dir;
};

}

TEST_F(ZipTool, StoredMembersWalkInOrderAndRead)
{
    dir.write("one.txt", "first");
    dir.write("Skins/Main.skin", std::string(40, 'm'));
    dir.write("three", "");
    add("a.zip", { "one.txt", "Skins/Main.skin", "three" }, "-0");
    liba::ZipFile zip(archive(wide(dir.file("a.zip"))));
    EXPECT_TRUE(zip.is_ok());
    EXPECT_EQ(walk(zip), (std::vector<std::u16string> { u"one.txt", u"Skins/Main.skin", u"three" }));

    ASSERT_TRUE(zip.open_entry(u"skins\\MAIN.SKIN"));
    EXPECT_EQ(zip.size(), 40u);
    char buffer[100];
    EXPECT_EQ(zip.read(buffer, 100), 40u);
    EXPECT_EQ(zip.read(buffer, 100), 0u);
    EXPECT_EQ(zip.tell(), 40u);

    ASSERT_TRUE(zip.open_entry(u"one.txt"));
    EXPECT_EQ(read_all(zip), "first");
    EXPECT_FALSE(zip.open_entry(u"missing"));
    EXPECT_EQ(zip.size(), 0u);
    EXPECT_EQ(zip.read(buffer, 100), 0u);
}

TEST_F(ZipTool, WalkEndsAtTheFirstCompressedMember)
{
    const std::string compressible(4000, 'a');
    dir.write("a", "stored a");
    dir.write("b", "stored b");
    dir.write("c", compressible);
    dir.write("d", "after");
    add("third.zip", { "a", "b" }, "-0");
    add("third.zip", { "c" }, "-9");
    add("third.zip", { "d" }, "-0");
    add("first.zip", { "c" }, "-9");
    add("first.zip", { "a" }, "-0");

    liba::ZipFile third(archive(wide(dir.file("third.zip"))));
    EXPECT_EQ(walk(third), (std::vector<std::u16string> { u"a", u"b" }));
    EXPECT_FALSE(third.open_entry(u"d"));
    liba::ZipFile first(archive(wide(dir.file("first.zip"))));
    EXPECT_EQ(walk(first), std::vector<std::u16string> {});
}

TEST(ZipFile, MovesStayInsideTheMember)
{
    test::TempDir dir;
    std::string bytes
        = local_member({ .name = "m", .data = "0123456789" }) + local_member({ .name = "n", .data = "XYZ" });
    liba::ZipFile zip(archive(wide(dir.write("a.zip", bytes))));
    ASSERT_TRUE(zip.open_entry(u"m"));
    EXPECT_EQ(zip.data_offset(), 31u);
    EXPECT_EQ(zip.skip(4), 4);
    EXPECT_EQ(zip.skip(100), 6); // stops at the member's end
    EXPECT_EQ(zip.tell(), 10u);
    EXPECT_EQ(zip.skip(-20), -10); // and at its start
    char c = 0;
    EXPECT_EQ(zip.read(&c, 1), 1u);
    EXPECT_EQ(c, '0');
    // A seek past the end is clamped, so the next member's bytes are never read.
    EXPECT_TRUE(zip.seek(12));
    EXPECT_EQ(zip.tell(), 10u);
    EXPECT_EQ(zip.read(&c, 1), 0u);
    EXPECT_TRUE(zip.seek(9));
    EXPECT_EQ(zip.read(&c, 1), 1u);
    EXPECT_EQ(c, '9');
    EXPECT_EQ(zip.write("x", 1), 0u);
}

TEST(ZipFile, HandMadeArchives)
{
    const std::string a = local_member({ .name = "a", .data = "A" });

    struct {
        const char* what;
        std::string bytes;
        std::vector<std::u16string> names;
    } cases[] = {
        { "not an archive", "just some text that is long enough to be a header", {} },
        { "empty file", "", {} },
        { "truncated header", a + local_member({ .name = "b", .data = "B" }).substr(0, 20), { u"a" } },
        { "truncated name", a + local_member({ .name = "long name", .data = "" }).substr(0, 33), { u"a" } },
        { "method 8 with equal sizes", a + local_member({ .name = "b", .data = "B", .method = 8 }) + a,
            { u"a" } },
        { "sizes differ", a + local_member({ .name = "b", .data = "B", .size = 5 }) + a, { u"a" } },
        { "data descriptor", a + local_member({ .name = "b", .data = "", .flags = 8 }) + a, { u"a" } },
        { "extra field skipped", local_member({ .name = "x", .data = "X", .extra = "EXTRA" }) + a,
            { u"x", u"a" } },
        { "name ends at zero", local_member({ .name = std::string("n\0m", 3), .data = "" }), { u"n" } },
        { "ANSI name", local_member({ .name = "caf\xE9", .data = "" }), { u"caf\u00E9" } },
        { "empty name ends the walk", local_member({ .name = "", .data = "" }) + a, {} },
        // In 32 bits, 31 + size would wrap to 0 and walk this member for ever.
        { "size that would wrap to its own header",
            local_member({ .name = "a", .data = "", .compressed_size = 0xFFFFFFE1, .size = 0xFFFFFFE1 }),
            { u"a" } },
        { "central directory ends the walk", a + "PK\x01\x02" + std::string(50, '\0'), { u"a" } },
    };

    for (const auto& c : cases)
        EXPECT_EQ(walk_bytes(c.bytes), c.names) << c.what;
}

TEST(ZipFile, TruncatedMemberGivesShortReads)
{
    test::TempDir dir;
    std::string bytes = local_member({ .name = "m", .data = "0123456789" }).substr(0, 35);
    liba::ZipFile zip(archive(wide(dir.write("a.zip", bytes))));
    ASSERT_EQ(zip.next_entry(), u"m");
    char buffer[10];
    EXPECT_EQ(zip.read(buffer, 10), 4u);
}

TEST(ZipFile, MissingArchive)
{
    test::TempDir dir;
    liba::ZipFile zip(archive(wide(dir.file("none.zip"))));
    EXPECT_FALSE(zip.is_ok());
    EXPECT_EQ(zip.errors(), std::vector<std::u16string> { u"can't open file" });
    EXPECT_EQ(zip.next_entry(), u"");
    EXPECT_FALSE(zip.open_entry(u"a"));
    char c;
    EXPECT_EQ(zip.read(&c, 1), 0u);
}
