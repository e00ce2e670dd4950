#include "skinner/widgets/panels/ControlPanelAutoScroll.h"

#include "tests/skinner/FormScreen.h"
#include "tests/skinner/ControlScreen.h"

namespace {

using skinner::ControlPanelAutoScroll;
using skinner::Form;
using skinner::Point;
using skinner::Size;

// A 100 x 80 panel with borders of (2, 3) on every side, bars 8 thick and
// gaps of 1 around them: a content area of 96 x 74 without bars.
class AutoScrollTest : public test::ControlScreen {
protected:
    void SetUp() override
    {
        make_picture("thumb.png", { "t" }, { { 't', platform::rgb(0, 0, 0) } });
        const std::string bar = R"(
            <string name="KindMin" value="Part"/><string name="KindMax" value="Part"/>
            <string name="KindSpace" value="Part"/><string name="KindTrack" value="Part"/>)";
        load_skin(R"(
            <picture name="thumb"/>
            <kind name="Part"><picture name="Normal" image="thumb" source="0 0 1 1"/></kind>
            <kind name="VBar"><int name="Vertical" value="1"/>)"
            + bar + R"(</kind>
            <kind name="HBar">)"
            + bar + R"(</kind>
            <form name="Board">
              <point name="Size" x="200" y="200"/>
              <int name="StartPosition" value="4"/>
              <control name="Scroller">
                <point name="Position" x="0" y="0"/><point name="Size" x="100" y="80"/>
                <point name="BorderMin" x="2" y="3"/>
                <int name="ScrollWidth" value="8"/>
                <point name="ScrollBorderMin" x="1" y="1"/>
                <string name="KindScroll" value="VBar"/><string name="KindHScroll" value="HBar"/>
              </control>
            </form>)");
    }
};

TEST_F(AutoScrollTest, BarsShowWhenTheContentNeedsThemAndTakeTheirRoom)
{
    Form form(nullptr, *properties, u"Board");
    ControlPanelAutoScroll panel(form, u"Scroller");
    EXPECT_EQ(panel.border_max(), (Point { 2, 3 }));
    EXPECT_EQ(panel.scroll_height(), 8);
    test::ProbeControl content(
        *panel.get_container(), u"Content", { 1, 2, 3, 0 }, skinner::ControlMode::unskinned);

    struct Case {
        Size wanted;
        bool vertical, horizontal;
        Size client;
    };

    const Case cases[] = {
        { { 50, 74 }, false, false, { 96, 74 } },
        // Exactly as high but wider: the horizontal bar takes height, then the vertical one is needed too.
        { { 200, 74 }, true, true, { 86, 64 } },
        { { 50, 100 }, true, false, { 86, 74 } },
        { { 90, 100 }, true, true, { 86, 64 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.wanted.width << "x" << c.wanted.height);
        panel.update_scroll_layout(content, c.wanted);
        panel.place_scroll_bars();
        EXPECT_EQ(content.position(), (Point { 2, 3 }));
        EXPECT_EQ(content.size(), c.client);
        EXPECT_EQ(panel.vscroll().own_visible(), c.vertical);
        EXPECT_EQ(panel.hscroll().own_visible(), c.horizontal);
        EXPECT_EQ(panel.vscroll().position(), (Point { 2 + c.client.width + 1, 3 + 1 }));
        EXPECT_EQ(panel.vscroll().size(), (Size { 8, c.client.height - 2 }));
        EXPECT_EQ(panel.hscroll().position(), (Point { 2 + 1, 3 + c.client.height + 1 }));
        EXPECT_EQ(panel.hscroll().size(), (Size { c.client.width - 2, 8 }));
    }
    EXPECT_FALSE(panel.vscroll().wants_focus());
}

}
