#include "skinner/skin/Edition.h"
#include "os/Log.h"
#include "skinner/skin/Properties.h"
#include "tests/skinner/skin/SkinFixture.h"
#include "tests/support/TempDir.h"
#include "tests/support/Tool.h"
#include "tools/skinc/SkinLayout.h"
#include "tools/skinc/SkinSource.h"
#include "tools/skinc/StoredZip.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {

using skinner::PropertiesImpl;
using skinner::Size;
using namespace skinner::skin_format;
using test::wide;

const Size qvga { 240, 320 };

std::string compile(const std::string& xml)
{
    const skinc::ParseResult parsed = skinc::parse_skin(xml);
    EXPECT_EQ(parsed.error, "");
    const skinc::LayoutResult laid_out = skinc::lay_out(parsed.skin);
    EXPECT_EQ(laid_out.error, "");
    return { laid_out.bytes.begin(), laid_out.bytes.end() };
}

void put_u32(std::string& bytes, std::size_t at, std::uint32_t value)
{
    std::memcpy(bytes.data() + at, &value, 4);
}

void put_unit(std::string& bytes, std::size_t at, char16_t value)
{
    std::memcpy(bytes.data() + at, &value, 2);
}

std::uint32_t get_u32(const std::string& bytes, std::size_t at)
{
    std::uint32_t value;
    std::memcpy(&value, bytes.data() + at, 4);
    return value;
}

class SkinLoader : public testing::Test {
protected:
    PropertiesImpl load(const std::string& bytes, Size screen = qvga)
    {
        return PropertiesImpl(wide(test::copy_test_skin(m_dir, &bytes)), screen);
    }

    test::ScopedWorkArea m_work_area { skinner::work_area_slot(), Size { 240, 268 } };
    test::TempDir m_dir;
};

TEST_F(SkinLoader, HeaderAloneIsAnEmptySkin)
{
    const std::string bytes = compile(R"(<skin name="Orvanta_500"/>)");
    ASSERT_EQ(bytes.size(), header_size);
    PropertiesImpl skin = load(bytes);
    EXPECT_TRUE(skin.is_valid());
    EXPECT_TRUE(skin.check_version(u"Orvanta_500", qvga).ok);
    EXPECT_TRUE(skin.pictures().empty());
    skinner::Properties properties(skin.path(), qvga);
    EXPECT_EXIT(properties.get_form_property_int(u"Main", u"Id", 0),
        testing::ExitedWithCode(os::fatal_exit_code),
        "has no form \\{Main\\} for workarea_size=240 268\\. list of all forms:\n\n$");
}

TEST_F(SkinLoader, NameAndDevicesFieldsMustEndWithZeros)
{
    const std::string empty = compile(R"(<skin name="Orvanta_500" devices="P"/>)");

    struct Case {
        const char* name;
        std::size_t at; // the unit set to 'x', or every unit of the field from `at` on when `whole`
        bool whole;
    };

    const Case cases[] = {
        { "name without its end", name_at, true },
        { "a unit after the name's end", name_at + 2 * 20, false },
        { "a unit in the name's last place", name_at + 2 * 31, false },
        { "devices without their end", devices_at, true },
        { "a unit after the devices' end", devices_at + 2 * 5, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string bytes = empty;
        for (std::size_t i = 0; i < (c.whole ? text_units : 1); ++i)
            put_unit(bytes, c.at + 2 * i, u'x');
        EXPECT_FALSE(load(bytes).is_valid());
        EXPECT_FALSE(PropertiesImpl::check_file(wide(m_dir.file("test.skin")), u"", Size {}));
    }
    std::string magic = empty;
    put_unit(magic, 6, u'x');
    EXPECT_FALSE(load(magic).is_valid());
    EXPECT_FALSE(load(empty.substr(0, header_size - 1)).is_valid());
    EXPECT_FALSE(load("").is_valid());
}

TEST_F(SkinLoader, DevicesTextMustNameThisDevice)
{
    struct Case {
        const char* devices;
        bool on_pocket_pc;
        bool on_smartphone;
    };
    const Case cases[] = { { "", true, true }, { "P", true, false }, { "SP", true, true }, { "S", false, true },
        { "p", false, false }, { "s", false, false } };
    for (const auto& [devices, on_pocket_pc, on_smartphone] : cases) {
        SCOPED_TRACE(devices);
        const std::string bytes
            = compile(std::string(R"(<skin name="Orvanta_500" devices=")") + devices + R"("/>)");
        EXPECT_TRUE(load(bytes).is_valid());
        EXPECT_EQ(load(bytes).check_version(u"Orvanta_500", Size {}).ok,
            skinner::is_smartphone ? on_smartphone : on_pocket_pc);
    }
}

// The test skin with one thing broken, located through a loaded copy.
class BrokenSkin : public SkinLoader {
protected:
    void SetUp() override
    {
        m_bytes = test::read_file(test::test_skin_path);
        m_skin = std::make_unique<skinner::Properties>(wide(test::test_skin_path), qvga);
        ASSERT_TRUE(m_skin->impl().is_valid());
    }

    std::uint32_t record(const char16_t* form, const char16_t* control)
    {
        return m_skin->impl().find_record(form, control);
    }

    std::uint32_t table(std::uint32_t record, Table t)
    {
        return m_skin->impl().file().table(record, t).first;
    }

    std::string m_bytes;
    std::unique_ptr<skinner::Properties> m_skin;
};

TEST_F(BrokenSkin, EveryLinkIsCheckedAgainstTheFile)
{
    const std::uint32_t root = get_u32(m_bytes, forms_root_at);
    const std::uint32_t main = m_skin->impl().find_form(u"Main");
    const std::uint32_t ok = record(u"Main", u"Ok");
    const std::uint32_t button = record(u"", u"Button");
    const std::uint32_t pictures = table(ok, Table::pictures);
    const std::uint32_t strings = table(record(u"Main", u"Title"), Table::strings);
    const auto size = static_cast<std::uint32_t>(m_bytes.size());

    struct Case {
        const char* name;
        std::function<void(std::string&)> damage;
    };

    const Case cases[] = {
        { "a tree that leads back to its root",
            [&](std::string& b) { put_u32(b, root + 4 * left_word, root); } },
        { "a child out of order",
            [&](std::string& b) {
                const std::uint32_t left = get_u32(b, root + 4 * left_word);
                put_u32(b, root + 4 * left_word, get_u32(b, root + 4 * right_word));
                put_u32(b, root + 4 * right_word, left);
            } },
        { "a child past the end", [&](std::string& b) { put_u32(b, root + 4 * right_word, size - 8); } },
        { "a root inside the header", [&](std::string& b) { put_u32(b, kinds_root_at, 8); } },
        { "a name at an odd offset",
            [&](std::string& b) {
                put_u32(b, button + 4 * name_word, get_u32(b, button + 4 * name_word) + 1);
            } },
        { "a name past the end", [&](std::string& b) { put_u32(b, button + 4 * name_word, size + 2); } },
        { "a table running past the end",
            [&](std::string& b) { put_u32(b, ok + 4 * (tables_word + 7), size + PictureNode::Size); } },
        { "a table ending before it begins",
            [&](std::string& b) { put_u32(b, ok + 4 * (tables_word + 7), pictures - PictureNode::Size); } },
        { "a table cut inside an entry",
            [&](std::string& b) {
                put_u32(b, ok + 4 * (tables_word + 7), pictures + PictureNode::Size + 1);
            } },
        { "a table out of order",
            [&](std::string& b) {
                const std::string first = b.substr(pictures, PictureNode::Size);
                b.replace(
                    pictures, PictureNode::Size, b.substr(pictures + PictureNode::Size, PictureNode::Size));
                b.replace(pictures + PictureNode::Size, PictureNode::Size, first);
            } },
        { "a duplicate entry",
            [&](std::string& b) { b.replace(pictures + PictureNode::Size, 2, b.substr(pictures, 2)); } },
        { "an entry name at an odd offset",
            [&](std::string& b) { b[strings] = static_cast<char>(b[strings] | 1); } },
        { "a string value at an odd offset",
            [&](std::string& b) { b[strings + 2] = static_cast<char>(b[strings + 2] | 1); } },
        { "a picture index beyond the pictures", [&](std::string& b) { b[pictures + 18] = 2; } },
        { "picture points out of order", [&](std::string& b) { put_u32(b, pictures + 2, 0x00FF00FF); } },
        { "a font index beyond the fonts",
            [&](std::string& b) { put_u32(b, table(button, Table::fonts) + 4, 2); } },
        { "a template count beyond the file",
            [&](std::string& b) { put_u32(b, main + 4 * template_count_word, 0xFFFFFFFF); } },
        { "a controls tree past the end",
            [&](std::string& b) { put_u32(b, main + 4 * controls_word, size); } },
        { "more pictures than the string table holds",
            [&](std::string& b) { put_u32(b, picture_count_at, 100000); } },
        { "a string table past the end", [&](std::string& b) { put_u32(b, strings_at, size); } },
        { "an unterminated last text", [&](std::string& b) { b.resize(b.size() - 2); } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string bytes = m_bytes;
        c.damage(bytes);
        ASSERT_NE(bytes, m_bytes);
        EXPECT_FALSE(load(bytes).is_valid());
        EXPECT_FALSE(
            skinner::SkinFile(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()).is_valid());
    }
    EXPECT_TRUE(load(m_bytes).is_valid());
}

TEST_F(SkinLoader, PicturesThatDoNotLoadMakeTheSkinInvalid)
{
    test::copy_test_skin(m_dir);
    EXPECT_TRUE(PropertiesImpl(wide(m_dir.file("test.skin")), qvga).is_valid());
    m_dir.write("button.png", "not a picture");
    EXPECT_FALSE(PropertiesImpl(wide(m_dir.file("test.skin")), qvga).is_valid());
    // At scale 2 the ready-made variant serves.
    EXPECT_TRUE(PropertiesImpl(wide(m_dir.file("test.skin")), Size { 480, 640 }).is_valid());
    std::remove(m_dir.file("panel.png").c_str());
    EXPECT_FALSE(PropertiesImpl(wide(m_dir.file("test.skin")), Size { 480, 640 }).is_valid());
}

class ZippedSkin : public SkinLoader {
protected:
    void SetUp() override
    {
        if (!test::have_tool("zip"))
            GTEST_SKIP() << "zip is not installed";
        test::copy_test_skin(m_dir, nullptr, "Test.SKIN");
        m_dir.write("readme.txt", "a skin follows");
    }

    std::string zip(const std::vector<std::string>& members)
    {
        std::vector<std::string> argv { "sh", "-c", "cd \"$0\" && exec zip -q -X -0 skin.zip \"$@\"",
            m_dir.path() };
        argv.insert(argv.end(), members.begin(), members.end());
        EXPECT_EQ(test::run_tool(argv).exit_code, 0);
        return m_dir.file("skin.zip");
    }
};

TEST_F(ZippedSkin, LoadsTheFirstSkinMemberOfAnArchive)
{
    const std::string archive = zip({ "readme.txt", "Test.SKIN" });
    PropertiesImpl skin(wide(archive), qvga);
    EXPECT_TRUE(skin.is_valid());
    EXPECT_TRUE(PropertiesImpl::check_file(wide(archive), u"Orvanta_500", qvga));
    EXPECT_FALSE(PropertiesImpl::check_file(wide(archive), u"Other", qvga));
}

TEST_F(ZippedSkin, AnArchiveWithoutSkinIsReadAsAPlainFile)
{
    const std::string archive = zip({ "readme.txt" });
    EXPECT_FALSE(PropertiesImpl(wide(archive), qvga).is_valid());
    EXPECT_FALSE(PropertiesImpl::check_file(wide(archive), u"", Size {}));
}

TEST_F(ZippedSkin, CompilersArchiveLoads)
{
    const std::string archive = m_dir.file("compiled.zip");
    const test::ToolResult result = test::run_tool({ ORVANTA_SKIN_COMPILER, "--zip", "--pictures",
        test::test_skin_path.substr(0, test::test_skin_path.rfind('/')),
        std::string(ORVANTA_FIXTURES) + "/skin/test.skin.xml", archive });
    ASSERT_EQ(result.exit_code, 0);
    skinner::Properties skin(wide(archive), qvga);
    EXPECT_TRUE(skin.check_version(u"Orvanta_500", qvga));
    EXPECT_EQ(skin.get_property_int(u"", u"Button", u"Height", 0), 20);
    // The same bytes as the plain compiled skin.
    const std::string plain = test::read_file(test::test_skin_path);
    EXPECT_NE(test::read_file(archive).find(plain), std::string::npos);
}

TEST_F(SkinLoader, AMemberCutShortIsNoSkin)
{
    const std::string plain = test::read_file(test::copy_test_skin(m_dir));
    const std::vector<std::uint8_t> zip
        = skinc::stored_zip("test.skin", std::vector<std::uint8_t>(plain.begin(), plain.end()));
    const std::string whole(zip.begin(), zip.end());
    EXPECT_TRUE(PropertiesImpl(wide(m_dir.write("whole.zip", whole)), qvga).is_valid());
    // The member's header promises more than the archive holds.
    const std::string cut = m_dir.write("cut.zip", whole.substr(0, whole.size() / 2));
    EXPECT_FALSE(PropertiesImpl(wide(cut), qvga).is_valid());
    EXPECT_TRUE(PropertiesImpl::check_file(wide(cut), u"Orvanta_500", qvga));
}

TEST_F(SkinLoader, CheckFileReadsOnlyTheHeader)
{
    const std::string empty = compile(R"(<skin name="Orvanta_500"><size width="240" height="320"/></skin>)");
    const std::string path = m_dir.write("header.skin", empty);
    EXPECT_TRUE(PropertiesImpl::check_file(wide(path), u"Orvanta_500", qvga));
    EXPECT_TRUE(PropertiesImpl::check_file(wide(path), u"Orvanta_500", Size { 480, 640 }));
    EXPECT_FALSE(PropertiesImpl::check_file(wide(path), u"Orvanta_500", Size { 480, 800 }));
    // Whatever follows the header is not looked at.
    std::string damaged = empty + std::string(100, '\xff');
    put_u32(damaged, forms_root_at, 0xFFFFFFF0);
    const std::string damaged_path = m_dir.write("damaged.skin", damaged);
    EXPECT_TRUE(PropertiesImpl::check_file(wide(damaged_path), u"Orvanta_500", qvga));
    EXPECT_FALSE(PropertiesImpl(wide(damaged_path), qvga).is_valid());
    EXPECT_FALSE(PropertiesImpl::check_file(wide(m_dir.file("missing.skin")), u"", Size {}));
}

}
