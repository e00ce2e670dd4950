#include "skinner/system/PowerManager.h"

#include "platform/ui/Input.h"
#include "platform/ui/Screen.h"
#include "platform/ui/WindowManager.h"
#include "tests/skinner/MenuFormScreen.h"
#include "tests/skinner/EditionOnly.h"

#include <gmock/gmock.h>

using skinner::Form;
using skinner::PowerManager;

namespace {

class PowerManagerTest : public test::MenuFormScreen {
protected:
    void SetUp() override
    {
        platform::set_display_on(true);
        run();
    }

    void TearDown() override { platform::set_display_on(true); }

    // Lets the time pass on the program's clock, running the form's loop.
    void wait(std::uint32_t ms)
    {
        screen->pause(ms);
        run();
    }

    Form form { nullptr, menus_skin, u"Bar" };
    test::ProbeControl pad { form, u"Pad" };
};

}

TEST_F(PowerManagerTest, TheDisplayGoesOffAtTheFirstTickPastTheInterval)
{
    ORVANTA_POCKET_PC_ONLY();
    struct Case {
        double interval;
        std::uint32_t still_on_ms; // since the last tap
        std::uint32_t off_ms;
    };
    const Case cases[] = {
        { 2, 2999, 3000 }, // not exactly at 2 s: at the tick after it
        { 0.5, 999, 1000 },
        { 1, 1999, 2000 },
        { 2.5, 2999, 3000 },
    };
    for (const Case& c : cases) {
        PowerManager power(form);
        power.set_interval(c.interval);
        wait(c.still_on_ms);
        EXPECT_TRUE(platform::is_display_on()) << c.interval;
        EXPECT_TRUE(power.is_display_on());
        wait(c.off_ms - c.still_on_ms);
        EXPECT_FALSE(platform::is_display_on()) << c.interval;
        EXPECT_FALSE(power.is_display_on());
        platform::set_display_on(true);
    }
}

TEST_F(PowerManagerTest, TheSmartphoneLeavesTheDisplayToTheShell)
{
    ORVANTA_SMARTPHONE_ONLY();
    PowerManager power(form);
    power.set_interval(1);
    wait(5000);
    EXPECT_TRUE(platform::is_display_on());
    platform::set_display_on(false);
    EXPECT_TRUE(power.is_display_on()) << "it controls no display, so the display counts as on";
    screen->key(platform::vk::down);
    run();
    EXPECT_FALSE(platform::is_display_on());
}

TEST_F(PowerManagerTest, IntervalZeroNeverSwitchesOff)
{
    ORVANTA_POCKET_PC_ONLY();
    PowerManager power(form);
    wait(60000);
    EXPECT_TRUE(platform::is_display_on());
    power.set_interval(1);
    power.set_interval(0);
    wait(60000);
    EXPECT_TRUE(platform::is_display_on());
}

TEST_F(PowerManagerTest, TapsAndKeysKeepTheDisplayOnAndWakeItAlsoReachingTheForm)
{
    ORVANTA_POCKET_PC_ONLY();
    PowerManager power(form);
    power.set_interval(2);
    // A tap every 1.5 s keeps it on; so does the owner resetting the idle time.
    for (int i = 0; i < 4; ++i) {
        wait(1500);
        screen->tap(on_screen(form, { 10, 10 }));
        run();
    }
    wait(1500);
    power.reset_idle_time();
    wait(1500);
    EXPECT_TRUE(platform::is_display_on());

    wait(1500);
    ASSERT_FALSE(platform::is_display_on());
    pad.clear();
    screen->tap(on_screen(form, { 20, 30 }));
    run();
    EXPECT_TRUE(platform::is_display_on());
    EXPECT_THAT(pad.events, ::testing::Contains("down 20,30 0")) << "the waking tap is a tap too";

    // The idle time starts again at the waking tap.
    wait(2000);
    EXPECT_TRUE(platform::is_display_on());
    wait(1000);
    ASSERT_FALSE(platform::is_display_on());
    screen->key(platform::vk::down);
    run();
    EXPECT_TRUE(platform::is_display_on());
}

TEST_F(PowerManagerTest, AProgramInTheBackgroundNeverSwitchesTheDisplayOff)
{
    ORVANTA_POCKET_PC_ONLY();
    PowerManager power(form);
    power.set_interval(1);
    platform::WindowParams params;
    params.class_name = u"STATIC";
    params.style = platform::ws::visible;
    platform::Window other = platform::create_window(params);
    platform::set_active_window(other);
    wait(10000);
    EXPECT_TRUE(platform::is_display_on());

    // Back in front, the idle time counts from the last tick.
    platform::set_active_window(form.window().handle());
    wait(1000);
    EXPECT_TRUE(platform::is_display_on());
    wait(1000);
    EXPECT_FALSE(platform::is_display_on());
    platform::destroy_window(other);
}
