#include "skinner/widgets/calendar/ControlCalendar.h"

#include "platform/core/MessageQueue.h"
#include "platform/ui/CommonControls.h"
#include "platform/ui/Input.h"
#include "platform/ui/WindowManager.h"
#include "tests/skinner/ControlScreen.h"
#include "tests/support/Screenshot.h"
#include "tests/skinner/EditionOnly.h"

#include <gtest/gtest.h>

namespace {

using skinner::ControlCalendar;
using skinner::Form;

liba::DateTime moment(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    liba::DateTime t;
    EXPECT_TRUE(t.set_date(year, month, day));
    EXPECT_TRUE(t.set_time(hour, minute, second));
    return t;
}

std::string text(const liba::DateTime& t)
{
    std::string out;
    t.to_string(out);
    return out;
}

class CalendarTest : public test::ControlScreen {
protected:
    void SetUp() override
    {
        load_skin(R"(
            <form name="Board">
              <point name="Size" x="240" y="260"/>
              <int name="StartPosition" value="4"/>
              <control name="calMonth">
                <point name="Position" x="5" y="5"/><point name="Size" x="10" y="10"/>
                <string name="Appearance" value="Calendar"/>
                <color name="Background" value="#102030"/>
                <color name="TitleBackground" value="#405060"/>
                <color name="Text" value="#708090"/>
                <color name="TitleText" value="#A0B0C0"/>
              </control>
              <control name="calDate">
                <point name="Position" x="10" y="190"/><point name="Size" x="100" y="20"/>
                <string name="Appearance" value="DatePicker"/>
                <color name="Text" value="#010203"/>
              </control>
              <control name="calTime">
                <point name="Position" x="120" y="190"/><point name="Size" x="100" y="20"/>
                <string name="Appearance" value="TimePicker"/>
              </control>
              <control name="calOdd">
                <point name="Position" x="10" y="230"/><point name="Size" x="100" y="20"/>
                <string name="Appearance" value="Clock"/>
              </control>
              <control name="calDefault">
                <point name="Position" x="120" y="230"/><point name="Size" x="100" y="20"/>
                <int name="Visible" value="0"/>
              </control>
            </form>)");
        form = std::make_unique<Form>(nullptr, *properties, u"Board");
        form->set_active(true);
    }

    void TearDown() override { form.reset(); }

    std::unique_ptr<Form> form;
};

}

TEST_F(CalendarTest, AppearanceChoosesTheNativeControl)
{
    ControlCalendar month(*form, u"calMonth");
    ControlCalendar date(*form, u"calDate");
    ControlCalendar time(*form, u"calTime");
    ControlCalendar odd(*form, u"calOdd");
    ControlCalendar plain(*form, u"calDefault");

    struct Case {
        const ControlCalendar& control;
        const char16_t* class_name;
        bool time_format;
    };

    for (const Case& c :
        { Case { month, u"SysMonthCal32", false }, Case { date, u"SysDateTimePick32", false },
            Case { time, u"SysDateTimePick32", true }, Case { plain, u"SysMonthCal32", false } }) {
        const platform::Window native = c.control.native_window();
        ASSERT_NE(native, platform::no_window) << platform::to_utf8(c.control.id());
        EXPECT_EQ(platform::window_class_name(native), c.class_name);
        EXPECT_EQ(platform::window_parent(native), form->window().handle());
        EXPECT_EQ(platform::window_text(native), u"DateTime");
        EXPECT_EQ((platform::window_style(native) & platform::dts::time_format) == platform::dts::time_format,
            c.time_format);
    }
    EXPECT_EQ(plain.appearance(), u"Calendar");
    EXPECT_FALSE(platform::is_window_visible(plain.native_window()));
    EXPECT_TRUE(platform::is_window_visible(month.native_window()));

    // An appearance without a control makes no window and keeps its own value.
    EXPECT_EQ(odd.native_window(), platform::no_window);
    EXPECT_EQ(text(odd.get_time()), text(liba::DateTime()));
    odd.set_time(moment(2024, 2, 29, 23, 59, 58));
    EXPECT_EQ(text(odd.get_time()), "2024 02 29 23 59 58");
}

TEST_F(CalendarTest, ColoursGoToTheMonthCalendar)
{
    ControlCalendar month(*form, u"calMonth");
    ControlCalendar date(*form, u"calDate");
    const platform::Window calendar = month.native_window();
    const auto colour = [](platform::Window w, int index) {
        return platform::send_message(w, platform::mcm::get_color, platform::WParam(index), 0);
    };
    EXPECT_EQ(colour(calendar, platform::mcsc::month_background),
        platform::LResult(platform::rgb(0x10, 0x20, 0x30)));
    EXPECT_EQ(colour(calendar, platform::mcsc::title_background),
        platform::LResult(platform::rgb(0x40, 0x50, 0x60)));
    EXPECT_EQ(colour(calendar, platform::mcsc::text), platform::LResult(platform::rgb(0x70, 0x80, 0x90)));
    EXPECT_EQ(
        colour(calendar, platform::mcsc::title_text), platform::LResult(platform::rgb(0xA0, 0xB0, 0xC0)));
    // A date picker's drop-down calendar takes them.
    const auto dropped = platform::Window(
        std::uint32_t(platform::send_message(date.native_window(), platform::dtm::get_month_cal, 0, 0)));
    ASSERT_NE(dropped, platform::no_window);
    EXPECT_EQ(colour(dropped, platform::mcsc::text), platform::LResult(platform::rgb(1, 2, 3)));
}

TEST_F(CalendarTest, ACalendarGrowsToItsMinimumAndPickersFillTheControl)
{
    ControlCalendar month(*form, u"calMonth");
    ControlCalendar date(*form, u"calDate");
    platform::Rect minimum;
    platform::send_message(
        month.native_window(), platform::mcm::get_min_req_rect, 0, platform::rect_param(minimum));
    ASSERT_GT(minimum.width(), 10);
    EXPECT_EQ(month.size().width, minimum.width() + 4);
    EXPECT_EQ(month.size().height, minimum.height() + 4);
    const platform::Point origin = platform::client_to_screen(form->window().handle(), { 0, 0 });
    const platform::Rect placed = platform::window_rect(month.native_window());
    EXPECT_EQ(placed.left - origin.x, 7);
    EXPECT_EQ(placed.top - origin.y, 7);
    EXPECT_EQ(placed.width(), minimum.width());

    const platform::Rect picker = platform::window_rect(date.native_window());
    EXPECT_EQ(picker.left - origin.x, 10);
    EXPECT_EQ(picker.top - origin.y, 190);
    EXPECT_EQ(picker.width(), 100);
    EXPECT_EQ(picker.height(), 20);
}

TEST_F(CalendarTest, ValuesRoundTripThroughTheNativeControls)
{
    ControlCalendar month(*form, u"calMonth");
    ControlCalendar date(*form, u"calDate");
    ControlCalendar time(*form, u"calTime");
    const liba::DateTime value = moment(2031, 12, 31, 7, 8, 9);
    for (ControlCalendar* c : { &month, &date, &time }) {
        c->set_time(value);
        const liba::DateTime back = c->get_time();
        EXPECT_EQ(back.year(), 2031);
        EXPECT_EQ(back.month(), 12);
        EXPECT_EQ(back.day(), 31);
    }
    EXPECT_EQ(text(time.get_time()), "2031 12 31 07 08 09");
    EXPECT_EQ(text(date.get_time()), "2031 12 31 07 08 09");

    // What the user changes in the native control is the control's value:
    // Up steps the picker's first part, a key in the calendar moves a day.
    date.take_focus();
    run();
    screen->key(platform::vk::up);
    run();
    EXPECT_EQ(text(date.get_time()), "2032 12 31 07 08 09");
    time.take_focus();
    run();
    screen->key(platform::vk::right).key(platform::vk::down);
    run();
    EXPECT_EQ(time.get_time().minute(), 7);
    month.take_focus();
    run();
    screen->key(platform::vk::right);
    run();
    EXPECT_EQ(month.get_time().year(), 2032);
    EXPECT_EQ(month.get_time().month(), 1);
    EXPECT_EQ(month.get_time().day(), 1);
}

TEST_F(CalendarTest, TabInsideAPickerMovesTheSkinnedFocus)
{
    ControlCalendar date(*form, u"calDate");
    ControlCalendar time(*form, u"calTime");
    // A tap on the native control gives the skinned control the focus.
    screen->tap(platform::client_to_screen(form->window().handle(), { 20, 200 }));
    run();
    EXPECT_TRUE(date.has_focus());
    EXPECT_EQ(platform::focus_window(), date.native_window());

    screen->key(platform::vk::tab);
    run();
    EXPECT_TRUE(time.has_focus());
    EXPECT_EQ(platform::focus_window(), time.native_window());

    // Ctrl+Tab stays; Shift+Tab goes back.
    screen->key_down(platform::vk::control).key(platform::vk::tab).key_up(platform::vk::control);
    run();
    EXPECT_TRUE(time.has_focus());
    screen->key_down(platform::vk::shift).key(platform::vk::tab).key_up(platform::vk::shift);
    run();
    EXPECT_TRUE(date.has_focus());
    EXPECT_EQ(platform::focus_window(), date.native_window());
}

TEST_F(CalendarTest, AReloadMakesANewWindowAndKeepsTheValue)
{
    ControlCalendar date(*form, u"calDate");
    date.set_time(moment(2010, 6, 15, 12, 30, 0));
    const platform::Window before = date.native_window();
    date.load();
    EXPECT_NE(date.native_window(), before);
    EXPECT_FALSE(platform::is_window(before));
    EXPECT_EQ(text(date.get_time()), "2010 06 15 12 30 00");

    date.set_visible(false);
    EXPECT_FALSE(platform::is_window_visible(date.native_window()));
    date.set_visible(true);
    EXPECT_TRUE(platform::is_window_visible(date.native_window()));
}

TEST_F(CalendarTest, NativeControlsShowOverTheForm)
{
    ORVANTA_POCKET_PC_ONLY();
    ControlCalendar month(*form, u"calMonth");
    ControlCalendar date(*form, u"calDate");
    ControlCalendar time(*form, u"calTime");
    for (ControlCalendar* c : { &month, &date, &time })
        c->set_time(moment(2006, 5, 17, 8, 30, 0));
    time.take_focus();
    run();
    EXPECT_TRUE(test::matches_screenshot(screen->shown(), "skinner-calendar"));
}
