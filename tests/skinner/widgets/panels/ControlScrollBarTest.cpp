#include "skinner/widgets/panels/ControlScrollBar.h"

#include "platform/core/Clock.h"
#include "tests/skinner/ControlScreen.h"

#include <gmock/gmock.h>

namespace {

using skinner::ControlScrollBar;
using skinner::Form;
using skinner::Point;
using skinner::Size;
using ::testing::ElementsAre;

// A horizontal bar 100 x 10 at (20, 20) with end buttons of 10 and a thumb
// at least 4 long, over 0 .. 100 with a page of 10; a vertical one beside it.
class ScrollBarTest : public test::ControlScreen {
protected:
    void SetUp() override
    {
        make_picture("parts.png", { "aabbbbcc", "aabbbbcc", "aabbbbcc", "aabbbbcc" },
            { { 'a', platform::rgb(250, 0, 0) }, { 'b', platform::rgb(0, 250, 0) },
                { 'c', platform::rgb(0, 0, 250) } });
        const std::string bar = R"(
                <string name="KindMin" value="ScrollMin"/><string name="KindMax" value="ScrollMax"/>
                <string name="KindSpace" value="ScrollSpace"/><string name="KindTrack" value="ScrollTrack"/>
                <int name="MinButtonSize" value="10"/><int name="MaxButtonSize" value="10"/>
                <int name="Min" value="0"/><int name="Max" value="100"/><int name="Page" value="10"/>)";
        load_skin(R"(
            <picture name="parts"/>
            <kind name="ScrollMin"><picture name="Normal" image="parts" source="0 0 2 4"/></kind>
            <kind name="ScrollMax"><picture name="Normal" image="parts" source="6 0 8 4"/></kind>
            <kind name="ScrollSpace"/>
            <kind name="ScrollTrack"><picture name="Normal" image="parts" source="2 0 6 4"/></kind>
            <form name="Board">
              <point name="Size" x="200" y="200"/>
              <int name="StartPosition" value="4"/>
              <control name="Across">
                <point name="Position" x="20" y="20"/><point name="Size" x="100" y="10"/>)"
            + bar + R"(
              </control>
              <control name="Down">
                <point name="Position" x="150" y="20"/><point name="Size" x="10" y="100"/>
                <int name="Vertical" value="1"/>)"
            + bar + R"(
              </control>
            </form>)");
    }

    test::ValueListener listener;
};

TEST_F(ScrollBarTest, PositionsStayWithinTheRangeLessThePage)
{
    Form form(nullptr, *properties, u"Board", &listener);
    ControlScrollBar bar(form, u"Across");
    for (std::int32_t p : { -5, 50, 50, 95, 90 })
        bar.set_position(p);
    EXPECT_EQ(bar.scroll_position(), 90);
    // Only changes are reported.
    EXPECT_THAT(listener.scrolled, ElementsAre(50, 90));

    // A range whose end lies below its start is empty: page 0, position at the start.
    bar.set_range(30, 20);
    EXPECT_EQ(bar.max(), 30);
    EXPECT_EQ(bar.get_page(), 0);
    EXPECT_EQ(bar.scroll_position(), 30);
    bar.set_range(0, 100);
    bar.set_page(200);
    EXPECT_EQ(bar.get_page(), 100);
    EXPECT_EQ(bar.scroll_position(), 0);
}

// The thumb's place and length follow the position and the page, between
// the end buttons; an empty range fills the whole space.
TEST_F(ScrollBarTest, TheThumbSitsBetweenTheSpacesByPositionAndPage)
{
    Form form(nullptr, *properties, u"Board", &listener);
    ControlScrollBar across(form, u"Across");
    ControlScrollBar down(form, u"Down");

    struct Case {
        std::int32_t min, max, page, position;
        std::int32_t track_start, track_length;
    };

    // 76 of the 80 between the end buttons are left for the thumb to travel.
    const Case cases[] = {
        { 0, 100, 10, 0, 10, 12 },
        { 0, 100, 10, 90, 10 + 68, 12 },
        { 0, 100, 50, 25, 10 + 19, 4 + 38 },
        { 5, 5, 1, 5, 10, 80 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.position);
        for (ControlScrollBar* bar : { &across, &down }) {
            bar->set_range(c.min, c.max);
            bar->set_page(c.page);
            bar->set_position(c.position, true);
            const bool vertical = bar->vertical();
            const auto along = [&](Point p) { return vertical ? p.y - 20 : p.x - 20; };
            const auto length = [&](Size s) { return vertical ? s.height : s.width; };
            EXPECT_EQ(along(bar->track().position()), c.track_start);
            EXPECT_EQ(length(bar->track().size()), c.track_length);
            EXPECT_EQ(
                along(bar->space_before().position()) + length(bar->space_before().size()), c.track_start);
            EXPECT_EQ(along(bar->space_after().position()), c.track_start + c.track_length);
            EXPECT_EQ(along(bar->space_after().position()) + length(bar->space_after().size()), 90);
            EXPECT_EQ(along(bar->button_max().position()), 90);
            EXPECT_EQ(bar->button_min().size(), (Size { 10, 10 }));
        }
    }
}

TEST_F(ScrollBarTest, EndButtonsStepSpacesPageAndHoldingRepeats)
{
    Form form(nullptr, *properties, u"Board", &listener);
    ControlScrollBar bar(form, u"Across");
    run();
    const auto at = [&](Point client) {
        return platform::client_to_screen(form.window().handle(), { client.x, client.y });
    };
    std::vector<std::int32_t> seen;
    const auto look = [&] { seen.push_back(bar.scroll_position()); };
    // The increasing end button held for a second: a step at the press, then
    // one per tick from the sixth tick on.
    screen->pen_down(at({ 115, 25 }))
        .call(look, 550)
        .call(look, 100)
        .pen_up(at({ 115, 25 }), 400)
        .call(look)
        .call(look, 500);
    run();
    EXPECT_THAT(seen, ElementsAre(1, 2, 6, 6));
    // The space after the thumb pages.
    screen->tap(at({ 100, 25 }));
    run();
    EXPECT_EQ(bar.scroll_position(), 16);
    screen->tap(at({ 22, 25 })).tap(at({ 22, 25 }), 600);
    run();
    EXPECT_EQ(bar.scroll_position(), 14);
}

TEST_F(ScrollBarTest, DraggingTheThumbStopsAtTheEnds)
{
    Form form(nullptr, *properties, u"Board", &listener);
    ControlScrollBar bar(form, u"Across");
    run();
    // Grabbed at its second pixel; the thumb's left edge follows the pen.
    form.on_pen_down(skinner::Container::button_pen, { 31, 25 }, 0);

    struct Move {
        std::int32_t x, position;
    };

    const Move moves[] = { { 31 + 38, 50 }, { 500, 90 }, { -100, 0 }, { 31 + 19, 25 } };
    for (const Move& m : moves) {
        form.on_pen_move({ m.x, 25 });
        EXPECT_EQ(bar.scroll_position(), m.position) << m.x;
    }
    form.on_pen_up(skinner::Container::button_pen, { 50, 25 }, 0);
    form.on_pen_move({ 90, 25 });
    EXPECT_EQ(bar.scroll_position(), 25);
}

}
