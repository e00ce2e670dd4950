#include "liba/StringTranslator.h"

#include "os/LanguageFile.h"
#include "platform/core/Utf8.h"
#include "tests/support/EnvironmentOverride.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <map>

using liba::StringTranslator;

namespace {

std::u16string u16(const std::string& s)
{
    return platform::from_utf8(s);
}

constexpr std::u16string_view absent = u"<absent>";

}

TEST(StringTranslator, ParsesEntries)
{
    using Table = std::map<std::u16string, std::u16string>;

    struct Case {
        const char* name;
        std::string file;
        Table entries;
        std::vector<std::u16string> missing;
    } cases[] = {
        { "key and text", "Open Open file", { { u"Open", u"Open file" } }, {} },
        { "equals alone", "Title=", { { u"Title", u"" } }, {} },
        { "equals keeps the blank", "Title= Main", { { u"Title", u" Main" } }, {} },
        { "equals keeps a tab", "Title=\tMain  ", { { u"Title", u"\tMain  " } }, {} },
        { "text on the next line", "Key\n\n   next line text\nOther x",
            { { u"Key", u"next line text" }, { u"Other", u"x" } }, {} },
        { "blank lines and indentation", "\n\n   A one\n\t\tB two\n", { { u"A", u"one" }, { u"B", u"two" } },
            {} },
        { "comment line", "// Open x\nA b //x c", { { u"A", u"b //x c" } }, { u"Open", u"//" } },
        { "a single slash is a key", "/ x", { { u"/", u"x" } }, {} },
        { "empty key", "= x\nB y", { { u"B", u"y" } }, { u"" } },
        { "later key wins", "A 1\nA 2", { { u"A", u"2" } }, {} },
        { "key at the end", "A 1\nLast", { { u"A", u"1" }, { u"Last", u"" } }, {} },
        { "keys are case-sensitive", "a lower\nA upper", { { u"a", u"lower" }, { u"A", u"upper" } }, {} },
        { "CR, LF and CRLF", "A 1\rB 2\nC 3\r\nD 4",
            { { u"A", u"1" }, { u"B", u"2" }, { u"C", u"3" }, { u"D", u"4" } }, {} },
        { "CR after equals", "T=\r\nU u", { { u"T", u"" }, { u"U", u"u" } }, {} },
    };

    test::TempDir dir;
    for (const auto& c : cases) {
        StringTranslator translator;
        ASSERT_TRUE(os::load_language_file(translator, u16(dir.write("case.lng", c.file)))) << c.name;
        for (const auto& [key, text] : c.entries)
            EXPECT_EQ(translator.translate(key, absent), text) << c.name;
        for (const auto& key : c.missing)
            EXPECT_EQ(translator.translate(key, absent), absent) << c.name;
    }
}

TEST(StringTranslator, Utf16AndEightBitFilesGiveTheSameTable)
{
    test::TempDir dir;
    const std::u16string text = u"// Fran\u00e7ais\r\nPrice Prix \u20ac\r\nCafe= Caf\u00e9\r\n";
    StringTranslator wide = os::read_language_file(u16(dir.write("wide.lng", test::utf16le_file(text))));
    StringTranslator ansi = os::read_language_file(u16(dir.write("ansi.lng",
        "// Fran\xE7"
        "ais\r\nPrice Prix \x80\r\nCafe= Caf\xE9\r\n")));
    for (StringTranslator* t : { &wide, &ansi }) {
        EXPECT_EQ(t->translate(u"Price", absent), u"Prix \u20ac");
        EXPECT_EQ(t->translate(u"Cafe", absent), u" Caf\u00e9");
    }
}

TEST(StringTranslator, ASecondFileAddsAndReplaces)
{
    test::TempDir dir;
    StringTranslator translator = os::read_language_file(u16(dir.write("base.lng", "Open Open\nSave Save")));
    auto second = u16(dir.write("local.lng", "Save Sichern\nQuit Beenden"));
    ASSERT_TRUE(os::load_language_file(translator, second));
    EXPECT_EQ(translator.translate(u"Open", absent), u"Open");
    EXPECT_EQ(translator.translate(u"Save", absent), u"Sichern");
    EXPECT_EQ(translator.translate(u"Quit", absent), u"Beenden");
    EXPECT_EQ(translator.path(), second);
}

TEST(StringTranslator, AMissingFileChangesNothing)
{
    test::TempDir dir;
    auto first = u16(dir.write("first.lng", "A a"));
    StringTranslator translator = os::read_language_file(first);
    EXPECT_FALSE(os::load_language_file(translator, u16(dir.file("missing.lng"))));
    EXPECT_EQ(translator.path(), first);
    EXPECT_EQ(translator.translate(u"A", absent), u"a");
    EXPECT_EQ(os::read_language_file(u16(dir.file("missing.lng"))).path(), u"");
}

TEST(StringTranslator, ExpandsPathMacros)
{
    test::TempDir dir;
    dir.write("English.lng", "Hello Hi");
    test::EnvironmentOverride app("ORVANTA_APP_PATH", dir.path().c_str());
    StringTranslator translator;
    ASSERT_TRUE(os::load_language_file(translator, u"%app_path%\\English.lng"));
    EXPECT_EQ(translator.translate(u"Hello", absent), u"Hi");
}
