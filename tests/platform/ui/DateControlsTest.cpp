#include "platform/ui/CommonControls.h"
#include "platform/ui/Input.h"
#include "tests/platform/ui/UiTest.h"
#include "tests/support/Screenshot.h"

using namespace platform;

namespace {

constexpr ColorRef white = rgb(255, 255, 255);

SystemTime date(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    SystemTime t;
    t.year = std::uint16_t(year);
    t.month = std::uint16_t(month);
    t.day = std::uint16_t(day);
    t.hour = std::uint16_t(hour);
    t.minute = std::uint16_t(minute);
    t.second = std::uint16_t(second);
    return t;
}

std::string text(const SystemTime& t)
{
    char s[32];
    std::snprintf(
        s, sizeof s, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute, t.second);
    return s;
}

// A form with a control of the class at (10, 10) in its client area.
class DateControls : public test::UiTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(init_common_controls({ 8, icc::date_classes }));
        form = make_window({ 0, 26, 240, 268 }, ws::visible | ws::clip_children, white);
        set_window_procedure(form, [this](Window w, MessageId id, WParam wp, LParam lp) -> LResult {
            if (id == msg::notify) {
                auto* header = notify_header_of(lp);
                if (header->code == dtn::datetime_change)
                    heard.push_back("change " + text(date_time_change_of(lp)->time));
                else if (header->code == mcn::sel_change)
                    heard.push_back("selection " + text(selection_change_of(lp)->start));
                else if (header->code == mcn::select)
                    heard.push_back("select " + text(selection_change_of(lp)->start));
                return 0;
            }
            return procedure(w, id, wp, lp);
        });
    }

    Window control(const char16_t* class_name, std::uint32_t style, Size size)
    {
        WindowParams params;
        params.class_name = class_name;
        params.title = u"DateTime";
        params.style = ws::child | ws::border | ws::visible | style;
        params.parent = form;
        params.x = 10;
        params.y = 10;
        params.width = size.width;
        params.height = size.height;
        Window w = create_window(params);
        made.push_back(w);
        return w;
    }

    void TearDown() override
    {
        for (Window w : made)
            destroy_window(w);
        test::UiTest::TearDown();
    }

    Window form {};
    std::vector<Window> made;
    std::vector<std::string> heard;
};

TEST_F(DateControls, InitialisationKnowsOnlyTheDateClasses)
{
    EXPECT_FALSE(init_common_controls({ 8, 0x4 }));
    EXPECT_FALSE(init_common_controls({ 12, icc::date_classes }));
}

TEST_F(DateControls, APickerIsSetAndReadWithoutNotifying)
{
    Window picker = control(date_time_picker_class, 0, { 120, 22 });
    ASSERT_NE(picker, no_window);
    ASSERT_TRUE(set_date_time_picker_value(picker, date(2024, 2, 29, 7, 30, 15)));
    auto value = date_time_picker_value(picker);
    ASSERT_TRUE(value);
    EXPECT_EQ(text(*value), "2024-02-29 07:30:15");
    EXPECT_EQ(value->day_of_week, 4) << "a Thursday";
    // No possible date is refused and changes nothing.
    for (auto bad : { date(2023, 2, 29), date(2024, 13, 1), date(1600, 12, 31), date(2024, 1, 1, 24) }) {
        SystemTime t = bad;
        EXPECT_EQ(send_message(picker, dtm::set_system_time, WParam(gdt::valid), system_time_param(t)), 0)
            << text(bad);
    }
    SystemTime none = date(2020, 1, 1);
    EXPECT_EQ(send_message(picker, dtm::set_system_time, WParam(gdt::none), system_time_param(none)), 0);
    EXPECT_EQ(send_message(picker, dtm::set_system_time, WParam(gdt::valid), 0), 0);
    EXPECT_EQ(text(*date_time_picker_value(picker)), "2024-02-29 07:30:15");
    EXPECT_FALSE(date_time_picker_value(form)) << "not a picker";
    screen->run_until_idle();
    EXPECT_TRUE(heard.empty());
}

TEST_F(DateControls, KeysStepTheSelectedPartAndNotify)
{
    Window picker = control(date_time_picker_class, 0, { 120, 22 });
    set_date_time_picker_value(picker, date(2024, 1, 31, 12));
    set_focus(picker);
    // Up on the year, Right to the month, Up: February has no 31st; Right, Down twice on the day; Left past
    // the start stays.
    screen->key(vk::up).key(vk::right).key(vk::up).key(vk::right).key(vk::down).key(vk::down);
    screen->key(vk::left).key(vk::left).key(vk::left).key(vk::down);
    screen->run_until_idle();
    EXPECT_EQ(heard,
        (std::vector<std::string> { "change 2025-01-31 12:00:00", "change 2025-02-28 12:00:00",
            "change 2025-02-27 12:00:00", "change 2025-02-26 12:00:00", "change 2024-02-26 12:00:00" }));
}

TEST_F(DateControls, DigitsTypedIntoThePartsReplaceThemAndMoveOn)
{
    struct Case {
        const char* name;
        std::uint32_t style;
        std::string typed; // digits, and '-' for a separator key
        const char* value;
    };
    const Case cases[] = {
        { "a whole date", 0, "20261211", "2026-12-11 08:30:00" },
        { "a month of one digit moves on at once", 0, "2027515", "2027-05-15 08:30:00" },
        { "a leading zero", 0, "20270305", "2027-03-05 08:30:00" },
        { "a separator ends a short part", 0, "20271-2", "2027-01-02 08:30:00" },
        { "a month too big starts again", 0, "2027134", "2027-03-04 08:30:00" },
        { "a day beyond the month's starts again", 0, "20270229", "2027-02-09 08:30:00" },
        { "a year of three digits is not taken", 0, "202-", "2024-01-31 08:30:00" },
        { "a whole time", dts::time_format, "235907", "2024-01-31 23:59:07" },
        { "an hour too big starts again", dts::time_format, "2545", "2024-01-31 05:45:00" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Window picker = control(date_time_picker_class, c.style, { 120, 22 });
        set_date_time_picker_value(picker, date(2024, 1, 31, 8, 30));
        set_focus(picker);
        for (char k : c.typed)
            screen->key(k == '-' ? vk::oem_minus : std::uint32_t(k));
        screen->run_until_idle();
        EXPECT_EQ(text(*date_time_picker_value(picker)), c.value);
        destroy_window(picker);
        made.pop_back();
    }
}

TEST_F(DateControls, APartBeingTypedShowsItsDigits)
{
    Window picker = control(date_time_picker_class, 0, { 120, 22 });
    set_date_time_picker_value(picker, date(2024, 1, 31));
    set_focus(picker);
    screen->key('2').key('0');
    screen->run_until_idle();
    EXPECT_EQ(text(*date_time_picker_value(picker)), "2024-01-31 00:00:00") << "not yet a year";
    EXPECT_TRUE(test::matches_screenshot(screen->shown(), "date_picker_typing"));
}

TEST_F(DateControls, ATimePickerStepsByPenAndWraps)
{
    Window picker = control(date_time_picker_class, dts::time_format, { 120, 22 });
    set_date_time_picker_value(picker, date(2024, 5, 1, 23, 59, 0));
    Rect r = window_rect(picker);
    Point up { r.right - 5, r.top + 4 }, down { r.right - 5, r.bottom - 4 };
    // The hour is selected first: up wraps to 0; a tap on the minutes, then down.
    screen->tap(up).tap({ r.left + 30, r.top + 10 }).tap(up).tap(down).tap(down);
    screen->run_until_idle();
    EXPECT_EQ(heard,
        (std::vector<std::string> { "change 2024-05-01 00:59:00", "change 2024-05-01 00:00:00",
            "change 2024-05-01 00:59:00", "change 2024-05-01 00:58:00" }));
    EXPECT_EQ(send_message(picker, dtm::get_month_cal), 0) << "a time picker has no calendar";
}

TEST_F(DateControls, ADatePickerTakesADayFromItsCalendar)
{
    Window picker = control(date_time_picker_class, 0, { 120, 22 });
    set_date_time_picker_value(picker, date(2024, 6, 15, 8, 0, 0));
    Window calendar = Window(std::uint32_t(send_message(picker, dtm::get_month_cal)));
    ASSERT_TRUE(is_window(calendar));
    EXPECT_EQ(send_message(calendar, mcm::set_color, mcsc::title_background, rgb(0, 128, 0)),
        LResult(rgb(0, 40, 120)));
    Rect r = window_rect(picker);
    Rect cal;
    bool shot = false;
    // The button drops the calendar down below the picker; June 2024 starts on a Saturday,
    // so the 20th (a Thursday) is in the fourth row, fourth column.
    screen->tap({ r.right - 5, r.top + 10 }).call([&] {
        cal = window_rect(calendar);
        shot = test::matches_screenshot(screen->shown(), "date_picker");
        screen->tap({ cal.left + 2 + 3 * 22 + 11, cal.top + 2 + 20 + 16 + 3 * 16 + 8 });
    });
    screen->run_until_idle();
    EXPECT_TRUE(shot);
    EXPECT_EQ(cal.top, r.bottom);
    EXPECT_FALSE(is_window_visible(calendar));
    EXPECT_EQ(heard, (std::vector<std::string> { "change 2024-06-20 08:00:00" }));

    // A tap outside closes it and changes nothing; Escape too.
    heard.clear();
    screen->tap({ r.right - 5, r.top + 10 })
        .tap({ 200, 300 })
        .tap({ r.right - 5, r.top + 10 })
        .key(vk::escape);
    screen->run_until_idle();
    EXPECT_FALSE(is_window_visible(calendar));
    EXPECT_TRUE(heard.empty());
    EXPECT_EQ(text(*date_time_picker_value(picker)), "2024-06-20 08:00:00");
}

TEST_F(DateControls, AMonthCalendarByPenAndKeys)
{
    Window calendar = control(month_calendar_class, 0, { 10, 10 });
    Rect min;
    ASSERT_EQ(send_message(calendar, mcm::get_min_req_rect, 0, rect_param(min)), 1);
    EXPECT_EQ(min.size(), (Size { 158, 136 }));
    move_window(calendar, Rect::from({ 10, 10 }, min.size()));
    ASSERT_TRUE(set_month_calendar_selection(calendar, date(2024, 1, 31, 10, 11, 12)));
    EXPECT_EQ(text(*month_calendar_selection(calendar)), "2024-01-31 00:00:00") << "a date, without the time";
    EXPECT_FALSE(set_month_calendar_selection(calendar, date(2024, 2, 30)));
    Rect r = window_rect(calendar);
    // January 2024 starts on a Monday: the 10th is in the second row, third column.
    Point tenth { r.left + 2 + 2 * 22 + 11, r.top + 2 + 20 + 16 + 16 + 8 };
    screen->tap(tenth).key(vk::right).key(vk::down).key(vk::next);
    // The arrow shows another month without selecting.
    screen->tap({ r.left + 8, r.top + 10 });
    screen->run_until_idle();
    EXPECT_EQ(heard,
        (std::vector<std::string> { "selection 2024-01-10 00:00:00", "select 2024-01-10 00:00:00",
            "selection 2024-01-11 00:00:00", "selection 2024-01-18 00:00:00",
            "selection 2024-02-18 00:00:00" }));
    EXPECT_EQ(send_message(calendar, mcm::set_color, 9, 0), -1);
}

}
