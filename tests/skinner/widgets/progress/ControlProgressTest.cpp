#include "skinner/widgets/progress/ControlProgress.h"

#include "tests/skinner/ControlScreen.h"

#include <gmock/gmock.h>
#include <limits>

namespace {

using skinner::ControlProgress;
using skinner::Form;
using skinner::Point;
using ::testing::ElementsAre;

const std::map<char, platform::ColorRef> legend { { '-', platform::rgb(128, 128, 128) },
    { '=', platform::rgb(0, 160, 0) }, { 't', platform::rgb(255, 0, 0) }, { 'd', platform::rgb(0, 0, 255) },
    { '.', platform::rgb(0, 255, 255) } };

// A 22 x 4 bar for each orientation with a thumb of 2, and the 110-pixel
// slider with a thumb of 10 at x = 0.
class ProgressTest : public test::ControlScreen {
protected:
    void SetUp() override
    {
        for (const auto& [file, c] :
            { std::pair { "back.png", '-' }, { "fill.png", '=' }, { "thumb.png", 't' }, { "off.png", 'd' } })
            make_picture(file, { std::string(1, c) }, legend);
        // Side by side, 30 pixels apart.
        std::string controls;
        const std::string orientations[] = { "0", "1", "2", "3", "7" };
        for (std::size_t i = 0; i < std::size(orientations); ++i) {
            const std::string& o = orientations[i];
            const bool vertical = o == "0" || o == "2";
            controls += "<control name=\"pb" + o + "\"><point name=\"Position\" x=\""
                + std::to_string(10 + 30 * i) + "\" y=\"10\"/><point name=\"Size\" "
                + (vertical ? "x=\"4\" y=\"22\"" : "x=\"22\" y=\"4\"")
                + "/><int name=\"Orientation\" value=\"" + o + "\"/><int name=\"TrackSize\" value=\"2\"/>"
                + pictures + "</control>";
        }
        load_skin(R"(
            <picture name="back"/><picture name="fill"/><picture name="thumb"/><picture name="off"/>
            <form name="Board">
              <point name="Size" x="200" y="240"/>
              <int name="StartPosition" value="4"/>)"
            + controls + R"(
              <control name="pbSlider">
                <point name="Position" x="0" y="200"/><point name="Size" x="110" y="10"/>
                <int name="TrackSize" value="10"/>)"
            + pictures + R"(</control>
              <control name="pbFull">
                <point name="Position" x="0" y="220"/><point name="Size" x="110" y="10"/>
                <int name="TrackSize" value="110"/>
              </control>
            </form>)");
    }

    static inline const std::string pictures = R"(
        <picture name="Background" image="back" source="0 0 1 1"/>
        <picture name="Progress" image="fill" source="0 0 1 1"/>
        <picture name="Track" image="thumb" source="0 0 1 1"/>
        <picture name="TrackDisabled" image="off" source="0 0 1 1"/>)";

    // The pixels along the bar's middle: a row, or a column read top down.
    std::string along(const Form& form, const ControlProgress& bar) const
    {
        const bool vertical = bar.size().height > bar.size().width;
        const Point at = bar.position();
        const auto shown = vertical ? pixels(form, { at.x + 1, at.y }, { 1, bar.size().height }, legend)
                                    : pixels(form, { at.x, at.y + 1 }, { bar.size().width, 1 }, legend);
        std::string out;
        for (const std::string& row : shown)
            out += row;
        return out;
    }

    test::ValueListener listener;
};

TEST_F(ProgressTest, EachOrientationFillsFromItsEdgeWithTheThumbAtTheMovingEnd)
{
    Form form(nullptr, *properties, u"Board", &listener);

    struct Case {
        const char16_t* name;
        std::string empty, quarter, full;
    };

    const Case cases[] = {
        { u"pb0", "tt--------------------", "=====tt---------------", "====================tt" },
        { u"pb1", "--------------------tt", "---------------tt=====", "tt====================" },
        { u"pb2", "--------------------tt", "---------------tt=====", "tt====================" },
        { u"pb3", "tt--------------------", "=====tt---------------", "====================tt" },
        // Any other orientation shows only the background.
        { u"pb7", "----------------------", "----------------------", "----------------------" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(platform::to_utf8(c.name));
        ControlProgress bar(form, c.name);
        for (const auto& [value, expected] :
            { std::pair { 0.0, c.empty }, { 0.25, c.quarter }, { 1.0, c.full } }) {
            bar.set_value(value);
            run();
            EXPECT_EQ(along(form, bar), expected) << value;
        }
    }
}

TEST_F(ProgressTest, ADisabledBarShowsTheDisabledThumb)
{
    Form form(nullptr, *properties, u"Board", &listener);
    ControlProgress bar(form, u"pb3");
    bar.set_value(0.5);
    bar.set_enabled(false);
    run();
    EXPECT_EQ(along(form, bar), "==========dd----------");
}

TEST_F(ProgressTest, ValuesAreClampedAndOnlyChangesReported)
{
    Form form(nullptr, *properties, u"Board", &listener);
    ControlProgress bar(form, u"pb3");
    run();
    for (double v : { 1.7, 1.0, -0.2, 0.0, std::numeric_limits<double>::quiet_NaN(), 0.25 })
        bar.set_value(v);
    EXPECT_THAT(listener.set, ElementsAre(1.0, 0.0, 0.25));
    run();
    bar.set_value(0.25);
    EXPECT_EQ(form.window().dirty_size(), skinner::Size {});

    listener.set.clear();
    const double inf = std::numeric_limits<double>::infinity();

    struct Range {
        double min, max, value, expected;
    };

    const Range ranges[] = { { 0, 200, 50, 0.25 }, { 10, 10, 5, 0.0 }, { 0, 200, 500, 1.0 }, { 5, 1, 3, 0.0 },
        { 0, inf, 5, 0.0 }, { -inf, inf, 0, 0.0 }, { 0, 1, inf, 1.0 } };
    for (const Range& r : ranges) {
        bar.set_value(0.5);
        bar.set_value_in_range(r.min, r.max, r.value);
        EXPECT_EQ(bar.value(), r.expected) << r.min << " " << r.max << " " << r.value;
    }
}

// The thumb's centre follows the pen; an empty travel gives 0.0.
TEST_F(ProgressTest, PenPointsMapToFractions)
{
    Form form(nullptr, *properties, u"Board", &listener);
    ControlProgress slider(form, u"pbSlider");
    ControlProgress full(form, u"pbFull");
    ControlProgress odd(form, u"pb7");
    const std::pair<std::int32_t, double> presses[]
        = { { -3, 0.0 }, { 5, 0.0 }, { 30, 0.25 }, { 55, 0.5 }, { 105, 1.0 }, { 300, 1.0 } };
    for (const auto& [x, expected] : presses) {
        EXPECT_EQ(slider.value_from_point({ x, 205 }), expected) << x;
        EXPECT_EQ(full.value_from_point({ x, 225 }), 0.0) << x;
        EXPECT_EQ(odd.value_from_point({ x + 130, 11 }), 0.0) << x;
    }
}

// The slider reports what the user wants and moves only when the owner sets it.
TEST_F(ProgressTest, DraggingReportsWantedValuesUntilRelease)
{
    Form form(nullptr, *properties, u"Board", &listener);
    ControlProgress slider(form, u"pbSlider");
    run();
    form.on_pen_down(skinner::Container::button_pen, { 55, 205 }, 0);
    EXPECT_TRUE(slider.dragging());
    form.on_pen_move({ 30, 205 });
    form.on_pen_move({ 130, 300 }); // off the control: the drag goes on
    EXPECT_THAT(listener.changed, ElementsAre(0.5, 0.25, 1.0));
    EXPECT_EQ(slider.value(), 0.0);
    EXPECT_TRUE(listener.set.empty());
    form.on_pen_up(skinner::Container::button_pen, { 130, 300 }, 0);
    EXPECT_FALSE(slider.dragging());
    form.on_pen_move({ 80, 205 });
    EXPECT_EQ(listener.changed.size(), 3u);

    // The second press of a double tap starts nothing.
    form.on_pen_down(skinner::Container::button_pen, { 80, 205 }, 1);
    form.on_pen_move({ 90, 205 });
    form.on_pen_up(skinner::Container::button_pen, { 90, 205 }, 1);
    EXPECT_EQ(listener.changed.size(), 3u);

    // The owner answers by setting the value.
    slider.set_value(listener.changed.back());
    EXPECT_THAT(listener.set, ElementsAre(1.0));
}

}
