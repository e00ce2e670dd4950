#include "os/XmlNode.h"

#include "liba/DateTime.h"
#include "platform/core/Utf8.h"
#include "tests/support/EnvironmentOverride.h"
#include "tests/support/TempDir.h"
#include "tests/support/Tool.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

using os::XmlNode;

namespace {

std::u16string u16(const std::string& s)
{
    return platform::from_utf8(s);
}

XmlNode load(const test::TempDir& dir, const std::string& bytes)
{
    return XmlNode::load_file(u16(dir.write("doc.xml", bytes)));
}

std::u16string text_of(const XmlNode& node)
{
    std::u16string text;
    EXPECT_TRUE(XmlNode::get_text(node, text));
    return text;
}

std::u16string attribute(const XmlNode& node, std::u16string_view name)
{
    std::u16string value = u"<missing>";
    XmlNode::get_attribute(node, name, value);
    return value;
}

}

TEST(XmlNode, RoundTripKeepsTextAndAttributesExactly)
{
    test::TempDir dir;
    const std::u16string tricky
        = u"caf\u00e9 \u20ac \U0001D11E \u65e5\u672c <tag> & \"q\" 'a' ]]> \ttab\nline  ";
    XmlNode doc = XmlNode::create_document();
    XmlNode root = XmlNode::append_element(doc, u"Settings");
    XmlNode::set_attribute_string(root, u"Path", tricky);
    XmlNode::set_attribute_string(root, u"Empty", u"");
    XmlNode::set_attribute_int(root, u"Volume", -5);
    XmlNode::set_attribute_bool(root, u"Shuffle", false);
    XmlNode note = XmlNode::append_element(root, u"Note\u00e9");
    ASSERT_TRUE(XmlNode::set_text(note, tricky));
    XmlNode mixed = XmlNode::append_element(root, u"Mixed");
    XmlNode::set_text(XmlNode::append_element(mixed, u"B"), u" b ");
    XmlNode::set_text(XmlNode::append_element(mixed, u"C"), u"c");
    auto path = dir.file("settings.xml");
    ASSERT_TRUE(XmlNode::save_file(doc, u16(path)));

    // Whatever we write must be XML to other readers too.
    if (test::have_tool("xmllint")) {
        EXPECT_EQ(test::run_tool({ "xmllint", "--noout", path }).exit_code, 0);
    }
    std::string bytes = test::read_file(path);
    EXPECT_NE(bytes.find("Volume=\"-5\""), std::string::npos);
    EXPECT_NE(bytes.find("Shuffle=\"false\""), std::string::npos);

    XmlNode loaded = XmlNode::load_file(u16(path));
    ASSERT_TRUE(loaded.is_valid());
    XmlNode settings = XmlNode::find_child(loaded, u"Settings");
    EXPECT_EQ(attribute(settings, u"Path"), tricky);
    std::u16string empty = u"x";
    EXPECT_TRUE(XmlNode::get_attribute_string(settings, u"Empty", empty));
    EXPECT_EQ(empty, u"");
    EXPECT_EQ(text_of(XmlNode::find_child(settings, u"Note\u00e9")), tricky);
    EXPECT_EQ(text_of(XmlNode::find_child(settings, u"Mixed")), u" b c");
    EXPECT_EQ(XmlNode::child_count(settings), 2);
}

TEST(XmlNode, ChildrenCountCommentsAndInstructionsInOrder)
{
    test::TempDir dir;
    XmlNode doc = load(dir,
        "<?xml version=\"1.0\"?>\n<!-- head -->\n<Root>\n  <!-- a -->\n  <A/>\n  text\n  <?pi data?>\n"
        "  <B x=\"1\"/>\n</Root>\n");
    ASSERT_TRUE(doc.is_valid());
    EXPECT_EQ(XmlNode::get_name(doc), u"#document");
    ASSERT_EQ(XmlNode::child_count(doc), 3);
    EXPECT_EQ(XmlNode::get_name(XmlNode::child_at(doc, 0)), u"xml");
    EXPECT_EQ(XmlNode::get_name(XmlNode::child_at(doc, 1)), u"#comment");
    XmlNode root = XmlNode::child_at(doc, 2);
    const std::u16string names[] = { u"#comment", u"A", u"#text", u"pi", u"B" };
    ASSERT_EQ(XmlNode::child_count(root), 5);
    const bool elements[] = { false, true, false, false, true };
    XmlNode walked = XmlNode::child_at(root, 0);
    for (int i = 0; i < 5; ++i, walked = XmlNode::next_sibling(walked)) {
        EXPECT_EQ(XmlNode::get_name(XmlNode::child_at(root, i)), names[i]) << i;
        EXPECT_EQ(XmlNode::get_name(walked), names[i]) << i;
        EXPECT_EQ(XmlNode::is_element(walked), elements[i]) << i;
    }
    EXPECT_FALSE(walked.is_valid());
    EXPECT_FALSE(XmlNode::next_sibling(walked).is_valid());
    EXPECT_FALSE(XmlNode::child_at(root, 5).is_valid());
    EXPECT_FALSE(XmlNode::child_at(root, -1).is_valid());
    EXPECT_FALSE(XmlNode::find_child(root, u"b").is_valid());
    EXPECT_EQ(attribute(XmlNode::find_child(root, u"B"), u"x"), u"1");
    EXPECT_EQ(attribute(XmlNode::find_child(root, u"B"), u"X"), u"<missing>");
}

TEST(XmlNode, TextGathersEveryDescendant)
{
    test::TempDir dir;
    XmlNode doc = load(dir, "<a>x<b>y<!--not text--><c>z</c></b><![CDATA[<w>&]]>&amp;&#x20AC;</a>");
    XmlNode a = XmlNode::find_child(doc, u"a");
    EXPECT_EQ(text_of(a), u"xyz<w>&&\u20ac");
    // Saving must not add white space to mixed content.
    ASSERT_TRUE(XmlNode::save_file(doc, u16(dir.file("saved.xml"))));
    EXPECT_EQ(text_of(XmlNode::find_child(XmlNode::load_file(u16(dir.file("saved.xml"))), u"a")),
        u"xyz<w>&&\u20ac");
    EXPECT_EQ(text_of(XmlNode::child_at(XmlNode::find_child(a, u"b"), 1)), u"not text");

    // Setting an element's text replaces its children; holders of them let go.
    XmlNode b = XmlNode::find_child(a, u"b");
    XmlNode c = XmlNode::find_child(b, u"c");
    XmlNode c_copy = c;
    ASSERT_TRUE(XmlNode::set_text(a, u"plain"));
    EXPECT_FALSE(b.is_valid());
    EXPECT_FALSE(c.is_valid());
    EXPECT_FALSE(c_copy.is_valid());
    EXPECT_EQ(XmlNode::child_count(a), 1);
    EXPECT_EQ(text_of(a), u"plain");
    EXPECT_FALSE(XmlNode::set_text(doc, u"no"));
}

TEST(XmlNode, MissingAndMalformedFilesGiveAnInvalidHolder)
{
    test::TempDir dir;
    EXPECT_FALSE(XmlNode::load_file(u16(dir.file("missing.xml"))).is_valid());
    EXPECT_FALSE(XmlNode::load_file(u16(dir.path())).is_valid());
    const std::string cases[] = {
        "",
        "   ",
        "just text",
        "<a>",
        "<a></b>",
        "<a/><b/>",
        "<a x=\"1\" x=\"2\"",
        "<!-- only a comment -->",
        "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><a/>",
        std::string("\xFF\xFE<\0a\0", 6),
        std::string("\0\0\0\0<a/>", 9),
    };
    for (const auto& bytes : cases)
        EXPECT_FALSE(load(dir, bytes).is_valid()) << bytes;
}

TEST(XmlNode, ReadsEightBitAndUtf16Files)
{
    test::TempDir dir;
    for (std::string encoding : { "windows-1252", "ISO-8859-1", "latin1" }) {
        XmlNode doc = load(
            dir, "<?xml version=\"1.0\" encoding=\"" + encoding + "\"?><a t=\"caf\xE9 \x80\">\xFC</a>");
        XmlNode a = XmlNode::find_child(doc, u"a");
        // ISO-8859-1 files are read as Windows-1252, as browsers do.
        EXPECT_EQ(attribute(a, u"t"), u"caf\u00e9 \u20ac") << encoding;
        EXPECT_EQ(text_of(a), u"\u00fc") << encoding;
    }
    if (!test::have_tool("iconv"))
        GTEST_SKIP() << "iconv not installed";
    auto utf16 = test::run_tool({ "iconv", "-f", "UTF-8", "-t", "UTF-16" },
        "<?xml version=\"1.0\" encoding=\"UTF-16\"?><a t=\"\xE2\x82\xAC\xF0\x9D\x84\x9E\"/>");
    ASSERT_EQ(utf16.exit_code, 0);
    XmlNode doc = load(dir, utf16.out);
    EXPECT_EQ(attribute(XmlNode::find_child(doc, u"a"), u"t"), u"\u20ac\U0001D11E");

    // Saved again, the bytes are UTF-8 and say so.
    ASSERT_TRUE(XmlNode::save_file(doc, u16(dir.file("again.xml"))));
    std::string again = test::read_file(dir.file("again.xml"));
    EXPECT_NE(again.find("encoding=\"UTF-8\""), std::string::npos);
    EXPECT_NE(again.find("\xE2\x82\xAC"), std::string::npos);
}

TEST(XmlNode, AFailedSaveLeavesTheOldFile)
{
    test::TempDir dir;
    XmlNode doc = XmlNode::create_document();
    XmlNode root = XmlNode::append_element(doc, u"Bookmarks");
    auto path = dir.write("list.xml", "old");

    EXPECT_FALSE(XmlNode::save_file(root, u16(path))); // not a document
    EXPECT_EQ(test::read_file(path), "old");
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    EXPECT_FALSE(XmlNode::save_file(doc, u16(path)));
    EXPECT_EQ(test::read_file(path), "old");
    EXPECT_FALSE(XmlNode::save_file(doc, u16(dir.file("no/such/list.xml"))));
    EXPECT_FALSE(XmlNode::save_file(XmlNode(), u16(dir.file("x.xml"))));
}

TEST(XmlNode, SavesThroughPathMacros)
{
    test::TempDir dir;
    test::EnvironmentOverride app("ORVANTA_APP_PATH", dir.path().c_str());
    XmlNode doc = XmlNode::create_document();
    XmlNode::append_element(doc, u"Settings");
    ASSERT_TRUE(XmlNode::save_file(doc, u"%app_path%\\Orvanta.xml"));
    EXPECT_TRUE(XmlNode::find_child(XmlNode::load_file(u"%app_path%/Orvanta.xml"), u"Settings").is_valid());
}

TEST(XmlNode, AppendRefusesWhatCouldNotBeReadBack)
{
    XmlNode doc = XmlNode::create_document();
    for (std::u16string_view name : { u"", u"1a", u"a b", u"a<b", u"-x" })
        EXPECT_FALSE(XmlNode::append_element(doc, name).is_valid());
    XmlNode root = XmlNode::append_element(doc, u"Root");
    ASSERT_TRUE(root.is_valid());
    EXPECT_FALSE(XmlNode::append_element(doc, u"Second").is_valid());
    EXPECT_TRUE(XmlNode::append_element(root, u"ns:child_1.x-y").is_valid());
    XmlNode::set_attribute(root, u"bad name", u"v");
    EXPECT_EQ(attribute(root, u"bad name"), u"<missing>");
}

TEST(XmlNode, InvalidHoldersAreHarmless)
{
    XmlNode none;
    XmlNode deeper = XmlNode::find_child(XmlNode::find_child(none, u"a"), u"b");
    EXPECT_FALSE(deeper.is_valid());
    EXPECT_EQ(XmlNode::child_count(none), 0);
    EXPECT_EQ(XmlNode::get_name(none), u"");
    std::u16string text = u"kept";
    EXPECT_FALSE(XmlNode::get_text(none, text));
    EXPECT_EQ(text, u"kept");
    EXPECT_FALSE(XmlNode::append_element(none, u"a").is_valid());
    XmlNode::set_attribute_int(none, u"a", 1);
}

TEST(XmlNode, AHolderKeepsItsDocumentAlive)
{
    XmlNode element;
    {
        XmlNode doc = XmlNode::create_document();
        element = XmlNode::append_element(doc, u"Root");
    }
    XmlNode child = XmlNode::append_element(element, u"Child");
    EXPECT_TRUE(child.is_valid());
    XmlNode moved = std::move(child);
    EXPECT_FALSE(child.is_valid());
    EXPECT_EQ(XmlNode::get_name(moved), u"Child");
}

TEST(XmlNode, TypedAttributeReaders)
{
    XmlNode doc = XmlNode::create_document();
    XmlNode e = XmlNode::append_element(doc, u"E");

    struct IntCase {
        std::u16string text;
        bool result;
        int value; // 99 means untouched
    } ints[] = {
        { u"  -42", true, -42 },
        { u"+7", true, 7 },
        { u"12abc", true, 12 },
        { u"4294967297", true, 1 },
        { u"x1", false, 0 },
        { u"", false, 99 },
        { u"   ", false, 99 },
        { u"-", false, 99 },
    };

    for (const auto& c : ints) {
        XmlNode::set_attribute(e, u"n", c.text);
        int value = 99;
        EXPECT_EQ(XmlNode::get_attribute_int(e, u"n", value), c.result)
            << std::string(c.text.begin(), c.text.end());
        EXPECT_EQ(value, c.value) << std::string(c.text.begin(), c.text.end());
    }

    struct BoolCase {
        std::u16string text;
        bool result;
        bool value;
    } bools[] = {
        { u"true", true, true },
        { u"True", true, true },
        { u"TRUE", true, true },
        { u"1", true, true },
        { u"false", true, false },
        { u"FALSE", true, false },
        { u"0", true, false },
        { u"tRUE", false, true },
        { u" true", false, true },
        { u"yes", false, true },
    };

    for (const auto& c : bools) {
        XmlNode::set_attribute(e, u"b", c.text);
        bool value = true;
        EXPECT_EQ(XmlNode::get_attribute_bool(e, u"b", value), c.result)
            << std::string(c.text.begin(), c.text.end());
        EXPECT_EQ(value, c.value) << std::string(c.text.begin(), c.text.end());
    }

    int n = 5;
    bool b = true;
    std::u16string s = u"default";
    EXPECT_FALSE(XmlNode::get_attribute_int(e, u"missing", n));
    EXPECT_FALSE(XmlNode::get_attribute_bool(e, u"missing", b));
    EXPECT_FALSE(XmlNode::get_attribute_string(e, u"missing", s));
    EXPECT_EQ(n, 5);
    EXPECT_TRUE(b);
    EXPECT_EQ(s, u"default");
}

TEST(XmlNode, NumberAttributes)
{
    XmlNode doc = XmlNode::create_document();
    XmlNode e = XmlNode::append_element(doc, u"E");

    EXPECT_TRUE(XmlNode::set_attribute_double(e, u"v", 0.25));
    EXPECT_EQ(attribute(e, u"v"), u"0.250000");
    EXPECT_TRUE(XmlNode::set_attribute_double(e, u"v", -1234.5));
    EXPECT_EQ(attribute(e, u"v"), u"-1234.500000");
    EXPECT_FALSE(XmlNode::set_attribute_double(e, u"bad name", 1.0));
    EXPECT_FALSE(XmlNode::set_attribute_double(XmlNode(), u"v", 1.0));

    struct Case {
        std::u16string text;
        bool result;
        double value; // 99 means untouched
    } cases[] = {
        { u"0.500000", true, 0.5 },
        { u" -2.5e2", true, -250 },
        { u".5", true, 0.5 },
        { u"7.", true, 7 },
        { u"3,5", true, 3 },
        { u"abc", false, 0 },
        { u".", false, 0 },
        { u"", false, 99 },
        { u" ", false, 99 },
        { u"1e", false, 99 },
    };

    for (const auto& c : cases) {
        XmlNode::set_attribute(e, u"d", c.text);
        double value = 99;
        EXPECT_EQ(XmlNode::get_attribute_double(e, u"d", value), c.result)
            << std::string(c.text.begin(), c.text.end());
        EXPECT_DOUBLE_EQ(value, c.value) << std::string(c.text.begin(), c.text.end());
    }
}

TEST(XmlNode, DateTimeAttributes)
{
    XmlNode doc = XmlNode::create_document();
    XmlNode e = XmlNode::append_element(doc, u"Task");
    liba::DateTime time;
    ASSERT_TRUE(time.set_date(2007, 3, 5));
    ASSERT_TRUE(time.set_time(14, 30, 0));
    EXPECT_TRUE(XmlNode::set_attribute_date_time(e, u"Begin", time));
    EXPECT_EQ(attribute(e, u"Begin"), u"2007 03 05 14 30 00");

    liba::DateTime back;
    EXPECT_TRUE(XmlNode::get_attribute_date_time(e, u"Begin", back));
    EXPECT_TRUE(back.is_equal(time));
    EXPECT_EQ(back.system_time().day_of_week, 1); // a Monday

    // Refused texts leave the value alone.
    for (std::u16string_view text :
        { u"2007 03 05 14 30", u"", u"2007 13 05 14 30 00", u"2007 02 30 00 00 00", u"2007 03 05 24 00 00",
            u"1600 12 31 23 59 59", u"67543 03 05 14 30 00" }) {
        XmlNode::set_attribute(e, u"End", text);
        liba::DateTime kept = time;
        EXPECT_FALSE(XmlNode::get_attribute_date_time(e, u"End", kept))
            << std::string(text.begin(), text.end());
        EXPECT_TRUE(kept.is_equal(time));
        EXPECT_EQ(kept.day(), 5);
    }
    EXPECT_FALSE(XmlNode::get_attribute_date_time(e, u"Missing", back));
    XmlNode::set_attribute(e, u"End", u"\t2007\n3 5 14 30 0");
    EXPECT_TRUE(XmlNode::get_attribute_date_time(e, u"End", back));
    EXPECT_TRUE(back.is_equal(time));
}
