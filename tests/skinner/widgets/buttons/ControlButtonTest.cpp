#include "tests/skinner/widgets/buttons/ButtonScreen.h"

#include "skinner/widgets/buttons/ControlButton.h"
#include "tests/support/Screenshot.h"
#include "tests/skinner/EditionOnly.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using skinner::ControlButton;
using skinner::Point;
namespace key = skinner::key;

namespace {

class ControlButtonTest : public test::ButtonScreen {
protected:
    ControlButton look0 { form, u"btnLook0" };
    ControlButton look1 { form, u"btnLook1" };
    ControlButton look2 { form, u"btnLook2" };
    ControlButton look3 { form, u"btnLook3" };

    void SetUp() override { run(); }

    void tap(Point client) { screen->tap(on_screen(form, client)); }
};

TEST_F(ControlButtonTest, EachConditionDrawsItsLook)
{
    ORVANTA_POCKET_PC_ONLY();
    // Pen held on one, focus on another, a third disabled.
    screen->pen_down(on_screen(form, centre(look1)));
    run();
    look2.take_focus();
    look3.set_enabled(false);
    EXPECT_EQ(corner_colour(look0), test::look_red);
    EXPECT_EQ(corner_colour(look1), test::look_green);
    EXPECT_EQ(corner_colour(look2), test::look_blue);
    EXPECT_EQ(corner_colour(look3), test::look_yellow);
    EXPECT_TRUE(test::matches_screenshot(screen->shown(), "button_looks"));
    screen->pen_up(on_screen(form, centre(look1)));
    run();
}

TEST_F(ControlButtonTest, OnlyANormalLookServesEveryCondition)
{
    ORVANTA_POCKET_PC_ONLY();
    ControlButton only { form, u"btnOnlyNormal" };
    EXPECT_EQ(corner_colour(only), test::look_red);
    only.take_focus();
    EXPECT_EQ(corner_colour(only), test::look_red);
    only.set_pushed(true);
    EXPECT_EQ(corner_colour(only), test::look_red);
    only.set_enabled(false);
    EXPECT_EQ(corner_colour(only), test::look_red);
    const skinner::ButtonLookSet& looks = only.get_pictures();
    for (const skinner::ButtonLook* look : { &looks.pressed, &looks.highlighted, &looks.disabled }) {
        EXPECT_EQ(look->picture.source_top_left(), looks.normal.picture.source_top_left());
        EXPECT_EQ(look->font.entry(), looks.normal.font.entry());
        EXPECT_EQ(look->text_color, looks.normal.text_color);
    }
}

TEST_F(ControlButtonTest, TapClicksOnce)
{
    ORVANTA_POCKET_PC_ONLY();
    tap(centre(look0));
    run();
    EXPECT_THAT(log.clicks, ElementsAre(u"btnLook0"));
}

TEST_F(ControlButtonTest, SlidingOffKeepsThePressedLookAndGivesNoClick)
{
    ORVANTA_POCKET_PC_ONLY();
    screen->pen_down(on_screen(form, centre(look0))).pen_move(on_screen(form, { 200, 150 }));
    EXPECT_EQ(corner_colour(look0), test::look_green);
    screen->pen_up(on_screen(form, { 200, 150 }));
    EXPECT_EQ(corner_colour(look0), test::look_blue); // released, still focused
    EXPECT_THAT(log.clicks, IsEmpty());
}

TEST_F(ControlButtonTest, ActionKeyWhileThePenHoldsGivesOneClickAtThePensRelease)
{
    ORVANTA_POCKET_PC_ONLY();
    screen->pen_down(on_screen(form, centre(look0)));
    run();
    EXPECT_TRUE(form.on_keydown(key::enter));
    EXPECT_TRUE(form.on_keyup(key::enter));
    EXPECT_THAT(log.clicks, IsEmpty());
    screen->pen_up(on_screen(form, centre(look0)));
    run();
    EXPECT_THAT(log.clicks, ElementsAre(u"btnLook0"));
}

TEST_F(ControlButtonTest, ActionKeyClicksTheFocusedButtonOnRelease)
{
    ORVANTA_POCKET_PC_ONLY();
    look1.take_focus();
    EXPECT_TRUE(form.on_keydown(key::enter));
    EXPECT_EQ(corner_colour(look1), test::look_green);
    EXPECT_THAT(log.clicks, IsEmpty());
    EXPECT_TRUE(form.on_keyup(key::enter));
    EXPECT_THAT(log.clicks, ElementsAre(u"btnLook1"));
    // Other keys are not the button's.
    EXPECT_FALSE(look1.on_keydown(key::space));
    EXPECT_FALSE(look1.on_keyup(key::space));
}

TEST_F(ControlButtonTest, LosingTheFocusWithTheKeyHeldReleasesWithoutClick)
{
    ORVANTA_POCKET_PC_ONLY();
    look1.take_focus();
    form.on_keydown(key::enter);
    look2.take_focus();
    EXPECT_EQ(corner_colour(look1), test::look_red);
    form.on_keyup(key::enter); // now look2's key-up: it was never pressed
    EXPECT_THAT(log.clicks, IsEmpty());
}

TEST_F(ControlButtonTest, FormKeysPushTheDefaultButton)
{
    ORVANTA_POCKET_PC_ONLY();
    form.set_default_button(&look3);
    form.set_focus(nullptr);
    EXPECT_TRUE(form.on_keydown(key::enter));
    EXPECT_EQ(corner_colour(look3), test::look_green);
    EXPECT_TRUE(form.on_keyup(key::enter));
    EXPECT_THAT(log.clicks, ElementsAre(u"btnLook3"));
}

TEST_F(ControlButtonTest, PushedAndPenMustBothLetGo)
{
    ORVANTA_POCKET_PC_ONLY();
    look0.set_pushed(true);
    screen->pen_down(on_screen(form, centre(look0)));
    run();
    look0.set_pushed(false);
    EXPECT_THAT(log.clicks, IsEmpty());
    screen->pen_up(on_screen(form, centre(look0)));
    run();
    // The pen lets go while pushed is clear: its own click.
    EXPECT_THAT(log.clicks, ElementsAre(u"btnLook0"));
}

TEST_F(ControlButtonTest, CommandNamedLikeTheIdClicksAtTheCentre)
{
    Point clicked_at {};
    struct Probe : ControlButton {
        using ControlButton::ControlButton;
        Point* at = nullptr;
        void click(const skinner::ButtonClick& c) override
        {
            *at = c.point;
            ControlButton::click(c);
        }
    } probe { form, u"btnOnlyNormal" };
    probe.at = &clicked_at;
    EXPECT_FALSE(probe.on_command(u"btnOnlyNormalX"));
    EXPECT_TRUE(probe.on_command(u"btnOnlyNormal"));
    EXPECT_EQ(clicked_at, centre(probe));
    EXPECT_THAT(log.clicks, ElementsAre(u"btnOnlyNormal"));
}

TEST_F(ControlButtonTest, DisabledButtonNeverClicks)
{
    look0.set_enabled(false);
    EXPECT_FALSE(look0.on_command(u"btnLook0"));
    EXPECT_FALSE(look0.click_at_centre());
    tap(centre(look0));
    run();
    look0.set_pushed(true);
    look0.set_pushed(false);
    EXPECT_THAT(log.clicks, IsEmpty());
}

TEST_F(ControlButtonTest, SeeThroughPixelsAreNotTheButton)
{
    ORVANTA_POCKET_PC_ONLY();
    ControlButton round { form, u"btnRound" };
    const Point clear { round.position().x + 5, round.position().y + 10 };
    const Point solid { round.position().x + 30, round.position().y + 10 };
    EXPECT_FALSE(round.hit_test(clear));
    EXPECT_TRUE(round.hit_test(solid));
    EXPECT_EQ(corner_colour(round), platform::rgb(0, 255, 255)); // the back buffer shows through
    EXPECT_EQ(pixel_at(form, solid), test::look_magenta);
    tap(clear);
    run();
    EXPECT_THAT(log.clicks, IsEmpty());
    // Pressed on the solid part, released on the clear one.
    screen->pen_down(on_screen(form, solid)).pen_up(on_screen(form, clear), 50);
    run();
    EXPECT_THAT(log.clicks, IsEmpty());
    tap(solid);
    run();
    EXPECT_THAT(log.clicks, ElementsAre(u"btnRound"));
}

TEST_F(ControlButtonTest, SameTextRepaintsNothing)
{
    look0.set_text(u"Go");
    EXPECT_TRUE(clean());
    look0.set_text(u"Stop");
    EXPECT_FALSE(clean());
    EXPECT_EQ(look0.text(), u"Stop");
}

TEST_F(ControlButtonTest, AlignmentsAndBordersComeFromTheSkin)
{
    ORVANTA_POCKET_PC_ONLY();
    ControlButton aligned { form, u"btnAligned" };
    ControlButton lower { form, u"btnLower" };
    EXPECT_EQ(aligned.h_alignment(), 2);
    EXPECT_EQ(aligned.v_alignment(), 2);
    EXPECT_EQ(aligned.border_min(), (Point { 4, 2 }));
    EXPECT_EQ(aligned.border_max(), (Point { 4, 2 }));
    // "left" and "TOP " are not the table's names: centre stays.
    EXPECT_EQ(lower.h_alignment(), 1);
    EXPECT_EQ(lower.v_alignment(), 1);
    run();
    EXPECT_TRUE(test::matches_screenshot(screen->shown(), "button_aligned"));
}

TEST_F(ControlButtonTest, TheSkinsOwnButtonIsMadeAndClicks)
{
    ORVANTA_POCKET_PC_ONLY();
    skinner::Control* made = form.get_control(u"btnAuto");
    ASSERT_NE(dynamic_cast<ControlButton*>(made), nullptr);
    EXPECT_EQ(corner_colour(*made), test::look_red);
    tap(centre(*made));
    run();
    EXPECT_THAT(log.clicks, ElementsAre(u"btnAuto"));
}

}
