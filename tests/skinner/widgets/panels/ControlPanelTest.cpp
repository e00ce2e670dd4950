#include "skinner/widgets/panels/ControlPanel.h"

#include "skinner/widgets/text/ControlFrame.h"
#include "skinner/widgets/progress/ControlProgress.h"
#include "tests/skinner/FormScreen.h"
#include "tests/skinner/ControlScreen.h"

#include <gmock/gmock.h>

namespace {

using skinner::Container;
using skinner::ControlPanel;
using skinner::Form;
using skinner::Point;
using skinner::Size;
using test::ProbeControl;
using ::testing::ElementsAre;

constexpr platform::ColorRef wall = platform::rgb(90, 60, 30), own = platform::rgb(10, 20, 30);

// "Box" takes its children and its background from the form "Inner";
// "Bare" has neither template nor background.
class PanelTest : public test::ControlScreen {
protected:
    void SetUp() override
    {
        make_picture("wall.png", { "w" }, { { 'w', wall } });
        make_picture("own.png", { "o" }, { { 'o', own } });
        load_skin(R"(
            <picture name="wall"/><picture name="own"/>
            <form name="Board">
              <point name="Size" x="200" y="200"/>
              <int name="StartPosition" value="4"/>
              <control name="Box">
                <point name="Position" x="20" y="20"/><point name="Size" x="100" y="60"/>
                <string name="FormTemplate" value="Inner"/>
                <picture name="Background" image="own" source="0 0 1 1"/>
              </control>
              <control name="Bare">
                <point name="Position" x="20" y="100"/><point name="Size" x="100" y="60"/>
                <picture name="Focus" image="own" source="0 0 1 1"/>
              </control>
              <control name="After">
                <point name="Position" x="150" y="20"/><point name="Size" x="20" y="20"/>
              </control>
            </form>
            <form name="Inner">
              <point name="Size" x="100" y="60"/>
              <picture name="Background" image="wall" source="0 0 1 1"/>
              <template control="Caption" type="Auto.Frame"/>
              <control name="Deep">
                <point name="Position" x="10" y="10"/><point name="Size" x="30" y="20"/>
                <int name="TabOrder" value="1"/>
              </control>
              <control name="Other">
                <point name="Position" x="50" y="10"/><point name="Size" x="30" y="20"/>
                <int name="TabOrder" value="2"/>
              </control>
              <control name="Slider">
                <point name="Position" x="10" y="40"/><point name="Size" x="80" y="10"/>
              </control>
              <control name="Caption">
                <point name="Position" x="0" y="50"/><point name="Size" x="100" y="10"/>
              </control>
            </form>)");
    }

    test::ValueListener listener;
};

TEST_F(PanelTest, ChildrenComeFromTheTemplateAndAreLaidOutInsideThePanel)
{
    Form form(nullptr, *properties, u"Board", &listener);
    ControlPanel box(form, u"Box");
    Container& inner = *box.get_container();
    ProbeControl deep(inner, u"Deep");
    run();
    EXPECT_EQ(deep.position(), (Point { 30, 30 }));
    ASSERT_NE(dynamic_cast<skinner::ControlFrame*>(inner.get_control(u"Caption")), nullptr);
    EXPECT_EQ(inner.get_control(u"Caption")->position(), (Point { 20, 70 }));
    // The template form's background replaces the panel's own; the child paints over it.
    EXPECT_EQ(pixel_at(form, { 21, 21 }), wall);
    EXPECT_EQ(pixel_at(form, { 30, 30 }), skinner::color_ref(deep.color));
    // Moving the panel moves the children.
    box.set_rect({ 40, 40 }, { 100, 60 });
    EXPECT_EQ(deep.position(), (Point { 50, 50 }));
    box.set_rect_no_layout({ 0, 0 }, { 100, 60 });
    EXPECT_EQ(deep.position(), (Point { 50, 50 }));
    EXPECT_EQ(box.position(), (Point { 0, 0 }));
}

TEST_F(PanelTest, PenInputReachesTheChildAndEventsClimbToTheForm)
{
    Form form(nullptr, *properties, u"Board", &listener);
    ControlPanel box(form, u"Box");
    ProbeControl deep(*box.get_container(), u"Deep");
    skinner::ControlProgress slider(*box.get_container(), u"Slider");
    form.on_pen_down(Container::button_pen, { 35, 35 }, 0);
    form.on_pen_up(Container::button_pen, { 36, 35 }, 0);
    form.on_pen_down(Container::button_context, { 35, 35 }, 0);
    form.on_pen_up(Container::button_context, { 35, 35 }, 0);
    EXPECT_THAT(deep.events,
        ElementsAre("enter", "down 35,35 0", "up 36,35 0", "hold-down 35,35 0", "hold-up 35,35 0"));
    form.on_pen_down(Container::button_pen, { 70, 65 }, 0);
    form.on_pen_up(Container::button_pen, { 70, 65 }, 0);
    EXPECT_THAT(listener.changed, ElementsAre(0.5));
    slider.set_value(0.5);
    EXPECT_THAT(listener.set, ElementsAre(0.5));
}

TEST_F(PanelTest, HitOnlyWhereAChildOrAnOpaqueBackgroundIs)
{
    Form form(nullptr, *properties, u"Board", &listener);
    ControlPanel box(form, u"Box");
    ControlPanel bare(form, u"Bare");
    ProbeControl child(*bare.get_container(), u"Deep", { 200, 0, 0, 0 }, skinner::ControlMode::unskinned);
    child.set_rect({ 30, 110 }, { 10, 10 });
    EXPECT_TRUE(box.hit_test({ 21, 21 }));
    EXPECT_FALSE(box.hit_test({ 19, 21 }));
    EXPECT_TRUE(bare.hit_test({ 35, 115 }));
    EXPECT_FALSE(bare.hit_test({ 60, 130 }));
    child.set_visible(false);
    EXPECT_FALSE(bare.hit_test({ 35, 115 }));
}

TEST_F(PanelTest, KeysNoChildTakesAreLeftToTheParentAndFocusClimbs)
{
    Form form(nullptr, *properties, u"Board", &listener);
    ControlPanel box(form, u"Box");
    ProbeControl deep(*box.get_container(), u"Deep");
    ProbeControl other(*box.get_container(), u"Other");
    ProbeControl after(form, u"After");
    form.set_active(true);
    deep.take_focus();
    EXPECT_TRUE(form.is_focused(&box));
    EXPECT_TRUE(deep.has_focus());
    EXPECT_FALSE(box.on_keydown(skinner::key::left));
    EXPECT_THAT(deep.events, ElementsAre("focus+", "key 4"));
    deep.takes_keys = true;
    EXPECT_TRUE(box.on_keydown(skinner::key::left));
    deep.takes_keys = false;
    // Tab moves inside the panel, then out of it.
    EXPECT_TRUE(form.on_keydown(skinner::key::tab));
    EXPECT_TRUE(other.has_focus());
    form.on_keydown(skinner::key::tab);
    EXPECT_TRUE(form.is_focused(&after));
    EXPECT_FALSE(other.has_focus());
}

TEST_F(PanelTest, VisibilityEnabledStateAndTimersReachTheChildren)
{
    Form form(nullptr, *properties, u"Board", &listener);
    ControlPanel box(form, u"Box");
    ProbeControl deep(*box.get_container(), u"Deep");
    deep.set_timer(0.5);
    box.on_timer_broadcast(deep.timer_id());
    box.set_visible(false);
    box.set_visible(true);
    box.set_enabled(false);
    EXPECT_FALSE(deep.is_enabled());
    box.set_enabled(true);
    EXPECT_THAT(deep.events,
        ElementsAre("timer " + std::to_string(deep.timer_id()), "hidden", "shown", "disabled", "enabled"));
    box.set_visible(false);
    run();
    deep.paints = 0;
    form.invalidate_all();
    run();
    EXPECT_EQ(deep.paints, 0);
}

}
