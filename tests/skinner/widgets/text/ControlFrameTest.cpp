#include "skinner/widgets/text/ControlFrame.h"

#include "tests/skinner/ControlScreen.h"

#include <gmock/gmock.h>

namespace {

using skinner::ControlFrame;
using skinner::Form;
using skinner::Point;
using skinner::Size;
using ::testing::ElementsAre;

constexpr platform::ColorRef paper = platform::rgb(240, 240, 240);

class FrameTest : public test::ControlScreen {
protected:
    void SetUp() override
    {
        make_picture("paper.png", { "p" }, { { 'p', paper } });
        load_skin(R"(
            <picture name="paper"/>
            <font name="text" description="9 0 0 0 Pinned"/>
            <form name="Board">
              <point name="Size" x="200" y="200"/>
              <int name="StartPosition" value="4"/>
              <control name="Wrapped">
                <point name="Position" x="10" y="10"/><point name="Size" x="60" y="40"/>
                <int name="Wrap" value="1"/>
                <font name="Normal" font="text"/>
                <picture name="Normal" image="paper" source="0 0 1 1"/>
              </control>
              <control name="Plain">
                <point name="Position" x="10" y="60"/><point name="Size" x="180" y="20"/>
                <string name="Text" value="caption"/>
                <font name="Normal" font="text"/>
              </control>
              <control name="Sized">
                <point name="Position" x="10" y="90"/><point name="Size" x="100" y="10"/>
                <int name="Wrap" value="1"/><int name="AutoSize" value="1"/>
                <point name="BorderMin" x="2" y="3"/><point name="BorderMax" x="4" y="5"/>
                <font name="Normal" font="text"/>
              </control>
              <control name="Short">
                <point name="Position" x="10" y="110"/><point name="Size" x="180" y="30"/>
                <int name="Wrap" value="1"/><int name="Ellipsis" value="1"/>
                <string name="VAlignment" value="TOP"/>
                <font name="Normal" font="text"/>
                <picture name="Normal" image="paper" source="0 0 1 1"/>
                <color name="Normal" value="#000000"/>
              </control>
              <control name="Left"><string name="HAlignment" value="LEFT"/><string name="VAlignment" value="BOTTOM"/></control>
              <control name="Right"><string name="HAlignment" value="RIGHT"/><string name="VAlignment" value="TOP"/></control>
              <control name="Odd"><string name="HAlignment" value="left"/><string name="VAlignment" value="MIDDLE"/></control>
            </form>)");
    }

    // The pixels of an area of the form, row by row.
    std::vector<platform::ColorRef> grab(const Form& form, Point at, Size size) const
    {
        std::vector<platform::ColorRef> out;
        for (std::int32_t y = at.y; y < at.y + size.height; ++y)
            for (std::int32_t x = at.x; x < at.x + size.width; ++x)
                out.push_back(pixel_at(form, { x, y }));
        return out;
    }
};

TEST_F(FrameTest, WrapBreaksAtMarkersLineFeedsAndBlanks)
{
    Form form(nullptr, *properties, u"Board");
    ControlFrame wrapped(form, u"Wrapped");
    ControlFrame plain(form, u"Plain");

    struct Case {
        const char16_t* text;
        std::vector<std::u16string> wrapped, plain;
    };

    const Case cases[] = {
        { u"one\\ntwo", { u"one", u"two" }, { u"one\\ntwo" } },
        { u"one\\n\\ntwo", { u"one", u"", u"two" }, { u"one\\n\\ntwo" } },
        { u"one\ntwo", { u"one", u"two" }, { u"one\ntwo" } },
        { u"aa bb cc dd ee ff gg hh", { u"aa bb cc", u"dd ee ff", u"gg hh" },
            { u"aa bb cc dd ee ff gg hh" } },
        { u"", { u"" }, { u"" } },
        { u"ends\\n", { u"ends", u"" }, { u"ends\\n" } },
        { u"cut \\", { u"cut \\" }, { u"cut \\" } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(platform::to_utf8(c.text));
        wrapped.set_text(c.text);
        plain.set_text(c.text);
        EXPECT_EQ(wrapped.lines(), c.wrapped);
        EXPECT_EQ(plain.lines(), c.plain);
    }
}

// A word wider than the frame - a path in a message - is broken where it
// fits, after a separator when one fits, so that its end shows too.
TEST_F(FrameTest, AWordWiderThanTheFrameBreaksWhereItFits)
{
    Form form(nullptr, *properties, u"Board");
    ControlFrame wrapped(form, u"Wrapped");
    const std::int32_t width = wrapped.size().width;
    struct Case {
        const char16_t* text;
        const char16_t* joined; // the lines run together
        const char16_t* last; // the last line
    };
    const Case cases[] = {
        { u"Unbreakablewordhere next", u"Unbreakablewordherenext", u"next" },
        { u"/media/Edge/x.wav", u"/media/Edge/x.wav", u"x.wav" },
        { u"x \\dev\\Edge\\garbage.mp3 failed", u"x\\dev\\Edge\\garbage.mp3failed", u"failed" },
        { u"WWWWWWWWWWWWWWWWWWWW", u"WWWWWWWWWWWWWWWWWWWW", nullptr },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(platform::to_utf8(c.text));
        wrapped.set_text(c.text);
        const auto& lines = wrapped.lines();
        ASSERT_GT(lines.size(), 1u);
        std::u16string joined;
        for (const std::u16string& line : lines) {
            EXPECT_FALSE(line.empty());
            EXPECT_LE(ControlFrame::measure_text(wrapped.font(), line).width, width) << platform::to_utf8(line);
            joined += line;
        }
        EXPECT_EQ(joined, c.joined);
        if (c.last) {
            EXPECT_EQ(lines.back(), c.last);
        }
    }
    // A break after a separator keeps the separator at the line's end.
    wrapped.set_text(u"/media/Edge/x.wav");
    EXPECT_EQ(wrapped.lines().front().back(), u'/');
}

// A message's markers become line breaks before the path goes in, so a
// path that holds a backslash and an n is not broken at them.
TEST_F(FrameTest, PathsPutIntoAMessageShowAsTheyAre)
{
    Form form(nullptr, *properties, u"Board");
    ControlFrame wrapped(form, u"Short");
    ControlFrame plain(form, u"Plain");
    const ControlFrame::TextValue path { u"%src%", u"\\new\\notes.wav" };
    wrapped.set_text_with_values(u"Delete\\n%src%?", { path });
    EXPECT_THAT(wrapped.lines(), ElementsAre(u"Delete", u"\\new\\notes.wav?"));
    wrapped.set_text_with_values(u"%src% to %dst%", { path, { u"%dst%", u"\\n" } });
    EXPECT_THAT(wrapped.lines(), ElementsAre(u"\\new\\notes.wav to \\n")) << "the value's marker stays text";
    // Without wrapping nothing breaks: the message is one line as it stands.
    plain.set_text_with_values(u"Delete\\n%src%", { path });
    EXPECT_THAT(plain.lines(), ElementsAre(u"Delete\\n\\new\\notes.wav"));
    // A plain text set afterwards has its markers read again.
    wrapped.set_text(u"\\new\\notes.wav");
    EXPECT_THAT(wrapped.lines(), ElementsAre(u"", u"ew", u"otes.wav"));
}

TEST_F(FrameTest, AutoSizeAddsTheBordersToWhatTheLinesNeed)
{
    Form form(nullptr, *properties, u"Board");
    ControlFrame sized(form, u"Sized");
    ControlFrame plain(form, u"Plain");
    sized.set_text(u"short\\na longer line");
    const Size first = ControlFrame::measure_text(sized.font(), u"short");
    const Size second = ControlFrame::measure_text(sized.font(), u"a longer line");
    ASSERT_GT(second.width, first.width);
    ASSERT_LT(second.width + 6, 100);
    // The skin's width is larger; the lines are higher.
    EXPECT_EQ(sized.get_preferred_size(), (Size { 100, first.height + second.height + 8 }));
    // Without AutoSize only the skin's size counts, unless the borders are larger.
    EXPECT_EQ(plain.get_preferred_size(), (Size { 180, 20 }));
}

TEST_F(FrameTest, AlignmentsFromTheSkinAndTheirDefaults)
{
    Form form(nullptr, *properties, u"Board");

    struct Case {
        const char16_t* name;
        std::int32_t h, v;
    };

    const Case cases[] = { { u"Left", 0, 2 }, { u"Right", 2, 0 }, { u"Odd", 1, 1 }, { u"Plain", 1, 1 } };
    for (const Case& c : cases) {
        SCOPED_TRACE(platform::to_utf8(c.name));
        const ControlFrame frame(form, c.name);
        EXPECT_EQ(frame.h_alignment(), c.h);
        EXPECT_EQ(frame.v_alignment(), c.v);
        EXPECT_FALSE(frame.wants_focus());
    }
}

TEST_F(FrameTest, ALineIsPlacedInsideTheBordersByItsAlignment)
{
    Form form(nullptr, *properties, u"Board");
    ControlFrame wrapped(form, u"Wrapped");
    wrapped.set_text(u"ab");
    run();
    const platform::Rect centred = ink(form, { 10, 10 }, { 60, 40 }, paper);
    ASSERT_FALSE(centred.empty());
    // The frame's picture covers it; the text sits in the middle.
    EXPECT_EQ(pixel_at(form, { 10, 10 }), paper);
    EXPECT_LE(std::abs((centred.left - 10) - (70 - centred.right)), 2);
    EXPECT_LE(std::abs((centred.top - 10) - (50 - centred.bottom)), 3);
}

// Lines that do not fit are left out, and with "Ellipsis" an ellipsis
// stands at the bottom instead: the only difference from the lines that fit.
TEST_F(FrameTest, LinesBeyondTheBottomGiveWayToAnEllipsis)
{
    Form form(nullptr, *properties, u"Board");
    ControlFrame frame(form, u"Short");
    const std::int32_t line = ControlFrame::measure_text(frame.font(), u"x").height;
    ASSERT_GT(line, 10);
    ASSERT_LT(line, 16); // two lines fit into 30, three do not
    frame.set_text(u"first\\nsecond");
    run();
    const auto two = grab(form, { 10, 110 }, { 180, 30 });
    frame.set_text(u"first\\nsecond\\nthird\\nfourth");
    run();
    const auto cut = grab(form, { 10, 110 }, { 180, 30 });
    platform::Rect differs;
    for (std::int32_t y = 0; y < 30; ++y)
        for (std::int32_t x = 0; x < 180; ++x)
            if (two[std::size_t(y * 180 + x)] != cut[std::size_t(y * 180 + x)])
                differs = differs.unite({ x, y, x + 1, y + 1 });
    ASSERT_FALSE(differs.empty());
    EXPECT_GE(differs.top, 30 - line);
    EXPECT_LE(differs.width(), ControlFrame::measure_text(frame.font(), u"\u2026").width);
    // Centred like the lines.
    EXPECT_LE(std::abs(differs.left + differs.right - 180), 4);
}

TEST_F(FrameTest, TheSameTextAgainChangesNothing)
{
    Form form(nullptr, *properties, u"Board");
    ControlFrame plain(form, u"Plain");
    run();
    plain.set_text(u"caption");
    EXPECT_EQ(form.window().dirty_size(), Size {});
    plain.set_text(u"other");
    EXPECT_NE(form.window().dirty_size(), Size {});
}

}
