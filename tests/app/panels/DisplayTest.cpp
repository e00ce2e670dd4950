// The main form's small displays: the speed, the clock, the blinking
// indicators and the position bar, as the main skin draws them.
#include "app/controls/ControlClock.h"
#include "app/controls/ControlFlash.h"
#include "app/controls/ControlProgressBookmarks.h"
#include "app/controls/ControlSpeed.h"
#include "model/RangeMarkList.h"
#include "tests/app/panels/PanelScreen.h"
#include "tests/support/Screenshot.h"

namespace {

using test::PanelScreen;

class Display : public PanelScreen {
protected:
    void SetUp() override { open(); }
};

TEST(SpeedText, OneDecimalRoundedToTheNearestTenth)
{
    const std::pair<double, const char16_t*> cases[] {
        { 1.5, u"x1.5" },
        { 0.96, u"x1.0" },
        { 1.26, u"x1.3" },
        { 2.0, u"x2.0" },
        { 0.5, u"x0.5" },
        { 1.0, u"x1.0" },
        { 0.0, u"x0.0" },
        { 1.94, u"x1.9" },
        { 1.95, u"x2.0" },
        { 12.34, u"x12.3" },
    };
    for (const auto& [speed, text] : cases)
        EXPECT_EQ(ControlSpeed::speed_text(speed), text) << speed;
}

TEST_F(Display, TheSpeedIsHighlightedUnlessNormal)
{
    ControlSpeed speed(*host, u"frmSpeed");
    const skinner::Color normal { 0x6F, 0x85, 0x91, 0 };
    const skinner::Color highlighted { 0xF2, 0xB8, 0x4B, 0 };
    EXPECT_EQ(speed.text(), u"x0.0");
    EXPECT_EQ(speed.color(), highlighted);
    speed.set_speed(1.0);
    EXPECT_EQ(speed.text(), u"x1.0");
    EXPECT_EQ(speed.color(), normal);
    speed.set_speed(0.96);
    EXPECT_EQ(speed.text(), u"x1.0");
    EXPECT_EQ(speed.color(), highlighted) << "shown as normal, but not normal";
    run();
    const int presents = screen->presents();
    speed.set_speed(0.96);
    run();
    EXPECT_EQ(screen->presents(), presents) << "the same speed again paints nothing";
    speed.set_speed(1.5);
    run();
    EXPECT_GT(screen->presents(), presents);
}

TEST_F(Display, TheClockShowsHoursAndMinutesOrMinutesAndSeconds)
{
    ControlClock clock(*host, u"Clock");
    auto& hours = child<skinner::ControlCheckBox>(clock, u"chkHours");
    auto& minutes = child<skinner::ControlCheckBox>(clock, u"chkMinutes");

    struct Case {
        double seconds;
        const char16_t* text;
        bool hours;
        bool minutes;
    };

    const Case cases[] {
        { 3725, u"01:02", true, false },
        { 125, u"02:05", false, true },
        { 0, u"00:00", false, false },
        { 60, u"01:00", false, true },
        { 59.9, u"00:59", false, true },
        { 3600, u"01:00", true, false },
        { 360000, u"00:00", true, false }, // a hundred hours: the last two digits
        { 3599, u"59:59", false, true },
        { -3, u"00:00", false, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.seconds);
        clock.set_times(c.seconds, 0);
        EXPECT_EQ(clock.text(), c.text);
        EXPECT_EQ(hours.is_checked(), c.hours);
        EXPECT_EQ(minutes.is_checked(), c.minutes);
    }
    for (const char16_t* id : { u"chkMode", u"chkHours", u"chkMinutes" })
        EXPECT_FALSE(child<skinner::ControlCheckBox>(clock, id).own_enabled());
}

TEST_F(Display, TheModeSwitchShowsTheStoredTimesAgain)
{
    ControlClock clock(*host, u"Clock");
    clock.set_times(125, 3725);
    EXPECT_EQ(clock.get_mode(), 1) << "elapsed first";
    clock.switch_mode(true); // not what is shown: nothing
    EXPECT_EQ(clock.text(), u"02:05");
    clock.switch_mode(clock.get_mode() == 0);
    EXPECT_EQ(clock.get_mode(), 0);
    EXPECT_EQ(clock.text(), u"01:02") << "the remaining time, with no new values";
    EXPECT_TRUE(child<skinner::ControlCheckBox>(clock, u"chkMode").is_checked());
    clock.switch_mode(clock.get_mode() == 0);
    EXPECT_EQ(clock.text(), u"02:05");
}

TEST_F(Display, EachIndicatorBlinksByItsOwnStopwatch)
{
    ControlFlash play(*host, u"checkPlay");
    clock->advance(250);
    ControlFlash record(*host, u"checkRec");
    run();
    const skinner::Point lamp = test::centre(play);
    const platform::ColorRef off = pixel(lamp);
    EXPECT_FALSE(play.shows_on()) << "not blinking: off";
    EXPECT_EQ(play.timer_id(), 0u) << "a lamp that does not blink holds no timer";
    play.set_flashing(true);
    record.set_flashing(true);

    struct Step {
        std::uint32_t after;
        bool play_on;
        bool record_on;
    };

    // Times since the first one was made: 0.5 s each way, the second 0.25 s later.
    for (const Step step : { Step { 350, true, false }, Step { 200, true, true }, Step { 250, false, true },
             Step { 250, false, false } }) {
        clock->advance(step.after);
        EXPECT_EQ(play.shows_on(), step.play_on);
        EXPECT_EQ(record.shows_on(), step.record_on);
    }
    // A tick repaints whatever the state: on now.
    clock->advance(250);
    ASSERT_TRUE(play.shows_on());
    run(); // its timer is due

    EXPECT_NE(pixel(lamp), off) << "the tick showed the on picture";
    play.set_flashing(false);
    EXPECT_EQ(play.timer_id(), 0u);
    EXPECT_NE(record.timer_id(), 0u);
    run();
    EXPECT_EQ(pixel(lamp), off) << "off at once";
}

class DisplayLooks : public PanelScreen, public ::testing::WithParamInterface<int> {
protected:
    DisplayLooks()
        : PanelScreen(GetParam())
    {
    }
};

TEST_P(DisplayLooks, ClockSpeedIndicatorsAndPosition)
{
    open();
    {
        ControlClock lcd(*host, u"Clock");
        ControlSpeed speed(*host, u"frmSpeed");
        ControlFlash play(*host, u"checkPlay");
        ControlFlash record(*host, u"checkRec");
        ControlProgressBookmarks position(*host, u"pbPosition");
        RangeMarkList marks;
        marks.insert(0, u"Start", true);
        marks.insert(2500, u"Verse", true);
        marks.insert(7000, u"Chorus", false);
        lcd.set_times(754, 3000);
        speed.set_speed(1.5);
        record.set_flashing(true);
        position.set_marks(10000, &marks);
        position.set_value(0.42);
        clock->advance(600); // the recording lamp on, at its due tick
        run();
        ASSERT_TRUE(record.shows_on());
        EXPECT_TRUE(test::matches_screenshot(screen->shown(), "app-display-x" + std::to_string(GetParam())));
    }
    document.reset();
}

INSTANTIATE_TEST_SUITE_P(Scales, DisplayLooks, ::testing::Values(1, 2));

}
