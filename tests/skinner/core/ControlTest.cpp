#include "tests/skinner/FormScreen.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using skinner::ControlMode;
using skinner::Form;
using skinner::Point;
using skinner::Size;
using test::ProbeControl;

namespace {

class ControlTest : public test::FormScreen {
protected:
    Form form { nullptr, properties, u"Board" };
};

TEST_F(ControlTest, ReadsTheCommonKeysOfItsRecord)
{
    ProbeControl a { form, u"A" };
    EXPECT_EQ(a.id(), u"A");
    EXPECT_EQ(a.tab_order(), 2);
    EXPECT_EQ(a.skin_position(), (Point { 10, 10 }));
    EXPECT_EQ(a.skin_size(), (Size { 40, 30 }));
    EXPECT_FALSE(a.focus_picture().is_empty());
    ProbeControl hidden { form, u"Hidden" };
    EXPECT_FALSE(hidden.is_visible());
}

TEST_F(ControlTest, ControlsOfAKindOrWithoutSkinHaveNoId)
{
    ProbeControl kind { form, u"Probe", {}, ControlMode::kind };
    EXPECT_EQ(kind.id(), u"");
    EXPECT_EQ(kind.kind(), u"Probe");
    EXPECT_EQ(kind.skin_size(), (Size { 5, 6 }));
    ProbeControl bare { form, u"Bare", {}, ControlMode::unskinned };
    EXPECT_EQ(bare.id(), u"Bare");
    EXPECT_EQ(bare.size(), Size {});
    EXPECT_EQ(form.get_control(u"Bare"), &bare);
}

TEST_F(ControlTest, TimerTicksReachEveryControlAndEachTakesItsOwn)
{
    ProbeControl a { form, u"A" };
    ProbeControl b { form, u"B" };
    a.set_timer(0.1);
    b.set_timer(0.25);
    EXPECT_NE(a.timer_id(), b.timer_id());
    screen->pause(260);
    run();
    const std::string tick_a = "timer " + std::to_string(a.timer_id());
    const std::string tick_b = "timer " + std::to_string(b.timer_id());
    EXPECT_THAT(a.events, ElementsAre(tick_a, tick_a));
    EXPECT_THAT(b.events, ElementsAre(tick_b));
    a.clear();
    a.kill_timer();
    EXPECT_EQ(a.timer_id(), 0u);
    form.on_timer_broadcast(b.timer_id());
    EXPECT_TRUE(a.events.empty());
}

TEST_F(ControlTest, SetRectInvalidatesOnlyOnChange)
{
    ProbeControl a { form, u"A" };
    run();
    a.update_layout();
    EXPECT_EQ(form.window().dirty_size(), Size {});
    a.set_rect({ 12, 10 }, { 40, 30 });
    EXPECT_EQ(form.window().dirty_position(), (Point { 10, 10 }));
    EXPECT_EQ(form.window().dirty_size(), (Size { 42, 30 }));
}

TEST_F(ControlTest, HidingRepaintsTheAreaItLeaves)
{
    ProbeControl a { form, u"A" };
    run();
    a.paints = 0;
    a.set_visible(false);
    EXPECT_THAT(a.events, ElementsAre("hidden"));
    EXPECT_EQ(form.window().dirty_position(), a.position());
    EXPECT_EQ(form.window().dirty_size(), a.size());
    run();
    EXPECT_EQ(a.paints, 0);
}

class EventLog : public skinner::Listener {
public:
    bool on_command(std::u16string_view command) override
    {
        commands.push_back(test::narrow(command));
        return true;
    }
    bool on_value_changed(skinner::Control& sender, double value) override
    {
        values.emplace_back(&sender, value);
        return true;
    }
    bool reserved_1() override { return true; }
    std::vector<std::string> commands;
    std::vector<std::pair<skinner::Control*, double>> values;
};

TEST_F(ControlTest, EventsClimbToTheFormsListener)
{
    EventLog log;
    Form board { nullptr, properties, u"Board", &log };
    ProbeControl a { board, u"A" };
    EXPECT_TRUE(a.on_command(u"#Play#"));
    EXPECT_TRUE(a.on_value_changed(a, 0.5));
    EXPECT_THAT(log.commands, ElementsAre("#Play#"));
    EXPECT_THAT(log.values, ElementsAre(std::pair<skinner::Control*, double>(&a, 0.5)));
    // Reserved events are never passed on.
    EXPECT_FALSE(a.reserved_1());
    // Without a listener an event is simply not handled.
    ProbeControl b { form, u"B" };
    EXPECT_FALSE(b.on_command(u"#Play#"));
}

TEST_F(ControlTest, MeasuringWithoutAFontGivesNothing)
{
    EXPECT_EQ(skinner::Control::measure_text(skinner::Font(), u"text"), Size {});
}

}
