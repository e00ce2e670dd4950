#include "skinner/skin/SkinFile.h"
#include "tests/support/TempDir.h"
#include "tests/support/Tool.h"
#include "tools/skinc/SkinLayout.h"
#include "tools/skinc/SkinSource.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

// The text count times, each '#' in it replaced by the copy's number.
std::string repeat(const std::string& text, int count)
{
    std::string all;
    for (int i = 0; i < count; ++i)
        for (char c : text)
            all += c == '#' ? std::to_string(i) : std::string(1, c);
    return all;
}

std::string skin(const std::string& body)
{
    return R"(<skin name="Orvanta_500">)" + body + "</skin>";
}

// The error of compiling the source, or "" when it compiles to a valid skin.
std::string compile_error(const std::string& xml, const std::string& pictures = {})
{
    const skinc::ParseResult parsed = skinc::parse_skin(xml, pictures);
    if (!parsed.error.empty())
        return parsed.error;
    const skinc::LayoutResult laid_out = skinc::lay_out(parsed.skin);
    if (laid_out.error.empty() && !skinner::SkinFile(laid_out.bytes.data(), laid_out.bytes.size()).is_valid())
        return "invalid output";
    return laid_out.error;
}

TEST(SkinCompiler, RefusesWhatTheLoaderOrTheLookupsWouldGetWrong)
{
    const std::string a_form = R"(<form name="F"><control name="C"/></form>)";

    struct Case {
        const char* name;
        std::string xml;
        const char* error;
    };

    const Case cases[] = {
        { "not XML", "<skin", "not well-formed XML" },
        { "another top element", "<skins/>", "the top element must be <skin>" },
        { "no skin name", "<skin/>", "needs the attribute name" },
        { "a skin name of 32 characters", R"(<skin name=")" + std::string(32, 'n') + R"("/>)",
            "longer than 31" },
        { "devices of 32 characters", R"(<skin name="x" devices=")" + std::string(32, 'P') + R"("/>)",
            "longer than 31" },
        { "33 sizes", skin(repeat(R"(<size width="1#" height="2"/>)", 33)), "at most 32 sizes" },
        { "a size of 0", skin(R"(<size width="0" height="2"/>)"), "not 0 wide" },
        { "a size beyond 32 bits", skin(R"(<size width="4294967296" height="2"/>)"), "beyond 0..4294967295" },
        { "257 pictures", skin(repeat(R"(<picture name="p#"/>)", 257)), "at most 256 pictures" },
        { "a picture listed twice", skin(R"(<picture name="p"/><picture name="p"/>)"), "listed twice" },
        { "a font listed twice", skin(R"(<font name="f" description="1"/><font name="f" description="2"/>)"),
            "listed twice" },
        { "an unknown element", skin("<forms/>"), "unknown element <forms>" },
        { "a form record twice", skin(a_form + a_form), "a second form record named \"F\"" },
        { "a variant twice", skin(R"(<form name="F" variant="1"/><form name="F" variant="1"/>)"),
            "a second form record named \"F1\"" },
        { "a form name that begins another's",
            skin(R"(<form name="Settings"/><form name="SettingsRecording"/>)"),
            "\"SettingsRecording\" would be taken for a variant of form \"Settings\"" },
        { "a variant that begins with another form's name",
            skin(R"(<form name="Main"/><form name="Mai" variant="n2"/>)"),
            "would be taken for a variant of form" },
        { "a control twice", skin(R"(<form name="F"><control name="C"/><control name="C"/></form>)"),
            "a second control of form \"F\"" },
        { "a kind twice", skin(R"(<kind name="K"/><kind name="K"/>)"), "a second kind named \"K\"" },
        { "an empty control name", skin(R"(<form name="F"><control name=""/></form>)"), "empty name" },
        { "a control in a kind", skin(R"(<kind name="K"><control name="C"/></kind>)"),
            "only a form holds <control>" },
        { "a property twice in one table",
            skin(R"(<kind name="K"><int name="A" value="1"/><int name="A" value="2"/></kind>)"),
            "kind \"K\" has two <int> named \"A\"" },
        { "an integer beyond 32 bits", skin(R"(<kind name="K"><int name="A" value="2147483648"/></kind>)"),
            "beyond -2147483648..2147483647" },
        { "a point beyond 16 bits", skin(R"(<kind name="K"><point name="A" x="40000" y="0"/></kind>)"),
            "beyond -32768..32767" },
        { "a number with letters", skin(R"(<kind name="K"><int name="A" value="12abc"/></kind>)"),
            "is no whole number" },
        { "an unknown property", skin(R"(<kind name="K"><float name="A" value="1"/></kind>)"),
            "unknown property <float>" },
        { "a picture beyond 16 bits",
            skin(
                R"(<picture name="p"/><kind name="K"><picture name="A" image="p" source="0 0 70000 1"/></kind>)"),
            "beyond 0..65535" },
        { "a picture of three numbers",
            skin(R"(<picture name="p"/><kind name="K"><picture name="A" image="p" source="0 0 1"/></kind>)"),
            "takes four numbers" },
        { "an inner rectangle outside the source",
            skin(
                R"(<picture name="p"/><kind name="K"><picture name="A" image="p" source="2 2 10 10" inner="1 3 9 9"/></kind>)"),
            "must lie inside" },
        { "an inner rectangle turned over",
            skin(
                R"(<picture name="p"/><kind name="K"><picture name="A" image="p" source="0 0 10 10" inner="6 2 4 8"/></kind>)"),
            "must lie inside" },
        { "a picture not listed",
            skin(R"(<kind name="K"><picture name="A" image="q" source="0 0 1 1"/></kind>)"),
            "picture \"q\" is not listed" },
        { "a stretch that is no boolean",
            skin(
                R"(<picture name="p"/><kind name="K"><picture name="A" image="p" source="0 0 1 1" stretch="maybe"/></kind>)"),
            "\"true\" or \"false\"" },
        { "a font not listed", skin(R"(<kind name="K"><font name="A" font="f"/></kind>)"),
            "font \"f\" is not listed" },
        { "a colour of five digits", skin(R"(<kind name="K"><color name="A" value="#12345"/></kind>)"),
            "#RRGGBB" },
        { "a colour that is no number", skin(R"(<kind name="K"><color name="A" value="#GG0000"/></kind>)"),
            "#RRGGBB" },
        { "an unknown template type",
            skin(R"(<form name="F"><template control="C" type="Auto.Slider"/><control name="C"/></form>)"),
            "template type \"Auto.Slider\" is none of" },
        { "a template without its control",
            skin(R"(<form name="F"><template control="D" type="Auto.Button"/><control name="C"/></form>)"),
            "has a template for \"D\" but no such control" },
        { "texts beyond the first 64 KiB",
            skin(R"(<kind name="K">)"
                + repeat(R"(<string name="S#" value=")" + std::string(1000, 'v') + R"(#"/>)", 40)
                + "</kind>"),
            "more than 64 KiB" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_NE(compile_error(c.xml).find(c.error), std::string::npos) << compile_error(c.xml);
    }
}

TEST(SkinCompiler, AcceptsWhatStaysWithinTheFormat)
{
    const std::pair<const char*, std::string> cases[] = {
        { "256 pictures", skin(repeat(R"(<picture name="p#"/>)", 256)) },
        { "32 sizes", skin(repeat(R"(<size width="1#" height="4294967295"/>)", 32)) },
        { "one name in several tables",
            skin(
                R"(<picture name="p"/><kind name="K"><int name="A" value="-2147483648"/><point name="A" x="-32768" y="32767"/><string name="A" value=""/><picture name="A" image="p" source="0 0 65535 65535"/><color name="A" value="#ffFFffFF"/></kind>)") },
        { "variants of one form and forms that share no prefix",
            skin(R"(<form name="Main"/><form name="Main" variant="_vga"/><form name="Menu"/>)") },
        { "a control name shared by two forms",
            skin(R"(<form name="A"><control name="C"/></form><form name="B"><control name="C"/></form>)") },
        { "a form and a kind of one name", skin(R"(<form name="A"/><kind name="A"/>)") },
    };
    for (const auto& [name, xml] : cases) {
        SCOPED_TRACE(name);
        EXPECT_EQ(compile_error(xml), "");
    }
}

TEST(SkinCompiler, AFormLikeAnotherCopiesItAndOverridesWhatItLists)
{
    const skinc::ParseResult parsed = skinc::parse_skin(skin(R"(
        <form name="Main"><point name="Size" x="240" y="268"/><int name="Mode" value="3"/>
          <template control="Caption" type="Auto.Button"/>
          <control name="Caption"><string name="Text" value="title"/></control>
          <control name="Play"><int name="Id" value="1"/></control></form>
        <form name="Main" variant="_phone" like="Main"><point name="Size" x="240" y="266"/>
          <string name="Devices" value="S"/><template control="Caption" type="Auto.Button"/>
          <control name="Play"><int name="Id" value="2"/><string name="Action" value="BUTTON_NO_MENU"/></control>
          <control name="Menu"/></form>)"));
    ASSERT_EQ(parsed.error, "");
    ASSERT_EQ(parsed.skin.forms.size(), 2u);
    const skinc::Form& phone = parsed.skin.forms[1];
    EXPECT_EQ(phone.name, u"Main_phone");
    EXPECT_EQ(phone.form_name, u"Main");
    ASSERT_EQ(phone.properties.size(), 3u);
    EXPECT_EQ(phone.properties[0].y, 266);
    EXPECT_EQ(phone.properties[1].integer, 3);
    EXPECT_EQ(phone.properties[2].text, u"S");
    EXPECT_EQ(phone.templates.size(), 1u);
    ASSERT_EQ(phone.controls.size(), 3u);
    EXPECT_EQ(phone.controls[0].properties[0].text, u"title");
    ASSERT_EQ(phone.controls[1].properties.size(), 2u);
    EXPECT_EQ(phone.controls[1].properties[0].integer, 2);
    EXPECT_EQ(phone.controls[1].properties[1].text, u"BUTTON_NO_MENU");
    EXPECT_EQ(phone.controls[2].name, u"Menu");
    // The copied form keeps its own.
    EXPECT_EQ(parsed.skin.forms[0].controls[1].properties[0].integer, 1);

    EXPECT_NE(compile_error(skin(R"(<form name="A" like="B"/><form name="B"/>)")).find("no form record \"B\" above"),
        std::string::npos);
    EXPECT_NE(compile_error(skin(
                  R"(<form name="A"><control name="C"/></form><form name="A" variant="2" like="A"><control name="C"/><control name="C"/></form>)"))
                  .find("a second control"),
        std::string::npos)
        << "a control listed twice in the form itself";
}

TEST(SkinCompiler, RecordsAreBalancedSearchTrees)
{
    const skinc::ParseResult parsed = skinc::parse_skin(skin(repeat(R"(<kind name="K#"/>)", 100)));
    const skinc::LayoutResult laid_out = skinc::lay_out(parsed.skin);
    const skinner::SkinFile file(laid_out.bytes.data(), laid_out.bytes.size());
    ASSERT_TRUE(file.is_valid());
    for (int i = 0; i < 100; ++i) {
        std::uint32_t comparisons = 0;
        EXPECT_NE(
            file.find_record(file.kinds_root(), u"K" + std::u16string(1, u'0' + i % 10), comparisons), 0u);
        EXPECT_LE(comparisons, 7u);
    }
}

TEST(SkinCompiler, ChecksThePictureFiles)
{
    if (!test::have_tool("convert"))
        GTEST_SKIP() << "ImageMagick is not installed";
    test::TempDir dir;
    ASSERT_EQ(
        test::run_tool({ "convert", "-size", "4x4", "xc:blue", "PNG24:" + dir.file("good.png") }).exit_code,
        0);
    dir.write("broken.png", "\x89PNG\r\n\x1a\n");
    dir.write("other.bmp", "BM");
    EXPECT_EQ(compile_error(skin(R"(<picture name="good"/><picture name="other"/>)"), dir.path()), "");
    EXPECT_NE(compile_error(skin(R"(<picture name="missing"/>)"), dir.path()).find("has no file"),
        std::string::npos);
    EXPECT_NE(compile_error(skin(R"(<picture name="broken"/>)"), dir.path()).find("does not decode"),
        std::string::npos);
}

TEST(SkinCompilerProgram, WritesOnlyWhatCompiles)
{
    test::TempDir dir;
    const std::string good
        = dir.write("good.xml", skin(R"(<kind name="K"><int name="A" value="1"/></kind>)"));
    const std::string bad = dir.write("bad.xml", skin(R"(<kind name="K"/><kind name="K"/>)"));
    EXPECT_EQ(test::run_tool({ ORVANTA_SKIN_COMPILER, good, dir.file("good.skin") }).exit_code, 0);
    const std::string bytes = test::read_file(dir.file("good.skin"));
    EXPECT_TRUE(
        skinner::SkinFile(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()).is_valid());
    EXPECT_EQ(test::run_tool({ ORVANTA_SKIN_COMPILER, bad, dir.file("bad.skin") }).exit_code, 1);
    EXPECT_FALSE(std::filesystem::exists(dir.file("bad.skin")));
    EXPECT_EQ(
        test::run_tool({ ORVANTA_SKIN_COMPILER, dir.file("missing.xml"), dir.file("x.skin") }).exit_code, 1);
    EXPECT_EQ(test::run_tool({ ORVANTA_SKIN_COMPILER, good }).exit_code, 2);
}

}
