#include "skinner/widgets/text/ControlLCD.h"

#include "tests/skinner/ControlScreen.h"

namespace {

using skinner::ControlLCD;
using skinner::Form;
using skinner::Size;

const std::map<char, platform::ColorRef> legend { { '1', platform::rgb(255, 0, 0) },
    { '2', platform::rgb(0, 160, 0) }, { '0', platform::rgb(0, 0, 255) }, { '5', platform::rgb(255, 200, 0) },
    { ':', platform::rgb(40, 40, 40) }, { '.', platform::rgb(0, 255, 255) } };

// Glyphs of two or three pixels' width in one picture file; the colon has none
// in one of the controls.
class LcdTest : public test::ControlScreen {
protected:
    void SetUp() override
    {
        make_picture("digits.png", { "11222000555::", "11222000555::", "11222000555::" }, legend);
        const std::string glyphs = R"(
            <picture name="Symbol1" image="digits" source="0 0 2 3"/>
            <picture name="Symbol2" image="digits" source="2 0 5 3"/>
            <picture name="Symbol0" image="digits" source="5 0 8 2"/>
            <picture name="Symbol5" image="digits" source="8 0 11 3"/>)";
        load_skin(R"(
            <picture name="digits"/>
            <form name="Board">
              <point name="Size" x="200" y="120"/>
              <int name="StartPosition" value="4"/>
              <control name="Clock">
                <point name="Position" x="10" y="10"/><point name="Size" x="20" y="8"/>
                <string name="Text" value="12:05"/>)"
            + glyphs + R"(
                <picture name="SymbolColon" image="digits" source="11 0 13 3"/>
              </control>
              <control name="NoColon">
                <point name="Position" x="10" y="30"/><point name="Size" x="20" y="8"/>)"
            + glyphs + R"(
              </control>
              <control name="Right">
                <point name="Position" x="10" y="50"/><point name="Size" x="12" y="8"/>
                <string name="HAlignment" value="RIGHT"/>)"
            + glyphs + R"(
              </control>
            </form>)");
    }
};

TEST_F(LcdTest, OneGlyphPerCharacterSideBySide)
{
    Form form(nullptr, *properties, u"Board");
    ControlLCD clock(form, u"Clock");
    ControlLCD no_colon(form, u"NoColon");
    no_colon.set_text(u"12:05");
    run();
    EXPECT_EQ(pixels(form, { 10, 10 }, { 14, 4 }, legend),
        (std::vector<std::string> {
            "11222::000555.", "11222::000555.", "11222::...555.", ".............." }));
    // Without a colon glyph the colon takes no room; unknown characters neither.
    EXPECT_EQ(pixels(form, { 10, 30 }, { 12, 1 }, legend), (std::vector<std::string> { "11222000555." }));
    EXPECT_EQ(clock.text_size(), (Size { 13, 3 }));
    EXPECT_EQ(no_colon.text_size(), (Size { 11, 3 }));
    EXPECT_FALSE(clock.wants_focus());
}

TEST_F(LcdTest, LinesStackAndAlignEachOnItsOwn)
{
    Form form(nullptr, *properties, u"Board");
    ControlLCD right(form, u"Right");
    // The first line is only 2 high: the second starts right below it.
    right.set_text(u"0\n12x\n");
    run();
    EXPECT_EQ(pixels(form, { 10, 50 }, { 12, 6 }, legend),
        (std::vector<std::string> {
            ".........000",
            ".........000",
            ".......11222",
            ".......11222",
            ".......11222",
            "............",
        }));
    // A final line feed gives an empty last line.
    EXPECT_EQ(right.text_size(), (Size { 5, 5 }));
    EXPECT_EQ(right.get_preferred_size(), (Size { 12, 8 }));
    right.set_text(u"1111111111");
    EXPECT_EQ(right.get_preferred_size(), (Size { 20, 8 }));
}

TEST_F(LcdTest, TheSameTextAgainDoesNotRepaint)
{
    Form form(nullptr, *properties, u"Board");
    ControlLCD clock(form, u"Clock");
    run();
    clock.set_text(u"12:05");
    EXPECT_EQ(form.window().dirty_size(), Size {});
    clock.set_text(u"12:06");
    EXPECT_EQ(form.window().dirty_size(), (Size { 20, 8 }));
}

}
