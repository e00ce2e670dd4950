#include "app/settings/SettingsSchedule.h"
#include "tests/app/settings/SettingsScreen.h"
#include "tests/support/Screenshot.h"

#include <array>

namespace {

using test::SettingsScreen;

liba::DateTime at(int day, int hour, int minute = 0)
{
    liba::DateTime time;
    time.set_date(2026, 3, day);
    time.set_time(hour, minute, 0);
    return time;
}

class SchedulePage : public SettingsScreen {
protected:
    static SettingsSchedule::ControlGridSchdule& grid(SettingsForm& form)
    {
        return control<SettingsSchedule::ControlGridSchdule>(form, schedule, u"grdSchedule");
    }

    static skinner::Control& button(SettingsForm& form, std::u16string_view id)
    {
        return control<skinner::Control>(form, schedule, id);
    }

    // Sets the four pickers to a period, as the user would.
    static void pick(SettingsForm& form, const liba::DateTime& begin, const liba::DateTime& end)
    {
        control<skinner::ControlCalendar>(form, schedule, u"calDateBegin").set_time(begin);
        control<skinner::ControlCalendar>(form, schedule, u"calTimeBegin").set_time(begin);
        control<skinner::ControlCalendar>(form, schedule, u"calDateEnd").set_time(end);
        control<skinner::ControlCalendar>(form, schedule, u"calTimeEnd").set_time(end);
    }

    static void click(SettingsForm& form, std::u16string_view id)
    {
        form.schedule_page().on_click(button(form, id));
    }

    // The periods as "day hour-day hour".
    static std::vector<std::string> periods(const Schedule& schedule)
    {
        std::vector<std::string> texts;
        for (int i = 0; i < schedule.size(); ++i)
            texts.push_back(std::to_string(schedule[i].begin.day()) + " " + std::to_string(schedule[i].begin.hour())
                + "-" + std::to_string(schedule[i].end.day()) + " " + std::to_string(schedule[i].end.hour()));
        return texts;
    }

    void five_periods()
    {
        for (int day = 1; day <= 5; ++day)
            ASSERT_GE(settings.schedule.insert(ScheduleTask(at(day, 8), at(day, 9))), 0);
    }
};

TEST_F(SchedulePage, AddingKeepsTheScheduleSortedAndSelectsTheNewPeriod)
{
    five_periods();
    SettingsForm form(nullptr, settings_skin, settings);
    EXPECT_FALSE(button(form, u"btnDelete").own_enabled());
    EXPECT_FALSE(button(form, u"btnChange").own_enabled());
    EXPECT_FALSE(button(form, u"btnDeleteAll").own_enabled()) << "until the selection first changes";

    // Across midnight: the date of one picker, the time of the other.
    liba::DateTime begin_date = at(3, 0), begin_time = at(1, 22, 30);
    control<skinner::ControlCalendar>(form, schedule, u"calDateBegin").set_time(begin_date);
    control<skinner::ControlCalendar>(form, schedule, u"calTimeBegin").set_time(begin_time);
    control<skinner::ControlCalendar>(form, schedule, u"calDateEnd").set_time(at(4, 0));
    control<skinner::ControlCalendar>(form, schedule, u"calTimeEnd").set_time(at(9, 1));
    click(form, u"btnAdd");
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(periods(form.schedule_page().schedule()),
        (std::vector<std::string> { "1 8-1 9", "2 8-2 9", "3 8-3 9", "3 22-4 1", "4 8-4 9", "5 8-5 9" }));
    EXPECT_EQ(form.schedule_page().schedule()[3].begin.minute(), 30);
    EXPECT_EQ(grid(form).selected_rows(), (std::set<std::int32_t> { 3 }));
    EXPECT_TRUE(button(form, u"btnChange").own_enabled());
    EXPECT_TRUE(button(form, u"btnDeleteAll").own_enabled());
    EXPECT_EQ(settings.schedule.size(), 5) << "the record changes only when the form closes";

    close(form);
    EXPECT_EQ(periods(settings.schedule), periods(form.schedule_page().schedule()));
}

TEST_F(SchedulePage, PeriodsThatStopTooEarlyOrOverlapAreRefusedAndChangeNothing)
{
    five_periods();
    SettingsForm form(nullptr, settings_skin, settings);
    const std::vector<std::string> before = periods(settings.schedule);
    struct Case {
        const char* name;
        liba::DateTime begin, end;
        std::u16string error;
    } cases[] = {
        { "stops where it starts", at(10, 8), at(10, 8), u"Orvanta: A recording period must stop after it starts." },
        { "stops before it starts", at(10, 8), at(9, 8), u"Orvanta: A recording period must stop after it starts." },
        { "overlaps the end of one", at(2, 8, 30), at(2, 10), u"Orvanta: This period overlaps another recording period." },
        { "holds one", at(1, 7), at(2, 10), u"Orvanta: This period overlaps another recording period." },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        errors.clear();
        pick(form, c.begin, c.end);
        answer_error();
        click(form, u"btnAdd");
        EXPECT_EQ(errors, (std::vector<std::u16string> { c.error }));
        EXPECT_EQ(periods(form.schedule_page().schedule()), before);
    }
    // One may start where another stops.
    errors.clear();
    pick(form, at(2, 9), at(2, 10));
    click(form, u"btnAdd");
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(form.schedule_page().schedule().size(), 6);
}

TEST_F(SchedulePage, ARefusedChangePutsThePeriodBack)
{
    five_periods();
    SettingsForm form(nullptr, settings_skin, settings);
    grid(form).select_only(1);
    // The pickers show the selected period.
    EXPECT_EQ(control<skinner::ControlCalendar>(form, schedule, u"calDateBegin").get_time().day(), 2);
    EXPECT_EQ(control<skinner::ControlCalendar>(form, schedule, u"calTimeEnd").get_time().hour(), 9);

    pick(form, at(2, 8), at(3, 8, 30)); // runs into day 3's period
    answer_error();
    click(form, u"btnChange");
    EXPECT_EQ(errors, (std::vector<std::u16string> { u"Orvanta: This period overlaps another recording period." }));
    EXPECT_EQ(periods(form.schedule_page().schedule()), periods(settings.schedule));

    grid(form).select_only(1);
    pick(form, at(2, 7), at(2, 10));
    click(form, u"btnChange");
    EXPECT_EQ(periods(form.schedule_page().schedule()),
        (std::vector<std::string> { "1 8-1 9", "2 7-2 10", "3 8-3 9", "4 8-4 9", "5 8-5 9" }));
}

TEST_F(SchedulePage, ARefusedChangeKeepsPeriodsOfAFileThatOverlap)
{
    // Periods from a settings file are taken as they stand, overlapping or not.
    settings.load(platform::from_utf8(dir.write("Orvanta.xml",
        "<Settings><Schedule>"
        "<Task Begin=\"2026 03 05 12 00 00\" End=\"2026 03 05 13 00 00\"/>"
        "<Task Begin=\"2026 03 05 10 00 00\" End=\"2026 03 05 12 30 00\"/>"
        "</Schedule></Settings>")));
    ASSERT_EQ(periods(settings.schedule), (std::vector<std::string> { "5 12-5 13", "5 10-5 12" }));
    SettingsForm form(nullptr, settings_skin, settings);
    grid(form).select_only(0);
    pick(form, at(5, 14), at(5, 13));
    answer_error();
    click(form, u"btnChange");
    EXPECT_EQ(errors.size(), 1u);
    EXPECT_EQ(periods(form.schedule_page().schedule()), periods(settings.schedule));
}

TEST_F(SchedulePage, DeletingRemovesExactlyTheSelectedRows)
{
    five_periods();
    SettingsForm form(nullptr, settings_skin, settings);
    grid(form).select_only(1);
    grid(form).set_row_selected(3, true);
    EXPECT_FALSE(button(form, u"btnChange").own_enabled()) << "two rows are selected";
    EXPECT_TRUE(button(form, u"btnDelete").own_enabled());
    click(form, u"btnDelete");
    EXPECT_EQ(periods(form.schedule_page().schedule()), (std::vector<std::string> { "1 8-1 9", "3 8-3 9", "5 8-5 9" }));
    EXPECT_TRUE(grid(form).selected_rows().empty());
    EXPECT_FALSE(button(form, u"btnDelete").own_enabled());

    click(form, u"btnDeleteAll");
    EXPECT_TRUE(form.schedule_page().schedule().empty());
    EXPECT_FALSE(button(form, u"btnDeleteAll").own_enabled());
    close(form);
    EXPECT_TRUE(settings.schedule.empty());
}

TEST_F(SchedulePage, ThePickersStartAtNowAndAPeriodOfNowOnIsAdded)
{
    platform::FileTime today {};
    ASSERT_TRUE(platform::system_time_to_file_time(at(11, 9, 15).system_time(), today));
    clock->set_local_time(today);
    SettingsForm form(nullptr, settings_skin, settings);
    for (std::u16string_view id : { u"calDateBegin", u"calDateEnd" }) {
        const liba::DateTime shown = control<skinner::ControlCalendar>(form, schedule, id).get_time();
        EXPECT_EQ((std::array { shown.year(), shown.month(), shown.day() }), (std::array { 2026, 3, 11 }))
            << platform::to_utf8(id);
    }
    for (std::u16string_view id : { u"calTimeBegin", u"calTimeEnd" }) {
        const liba::DateTime shown = control<skinner::ControlCalendar>(form, schedule, id).get_time();
        EXPECT_EQ((std::array { shown.hour(), shown.minute() }), (std::array { 9, 15 })) << platform::to_utf8(id);
    }
    // An hour on from now, typed into the end's time as a user would.
    form.tab().pages()[schedule]->set_visible(true);
    const platform::Window end_time = control<skinner::ControlCalendar>(form, schedule, u"calTimeEnd").native_window();
    platform::set_focus(end_time);
    screen->key('1').key('0');
    run();
    click(form, u"btnAdd");
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(periods(form.schedule_page().schedule()), (std::vector<std::string> { "11 9-11 10" }));
    close(form);
}

TEST_F(SchedulePage, Looks)
{
    five_periods();
    SettingsForm form(nullptr, settings_skin, settings);
    form.tab().pages()[schedule]->set_visible(true);
    grid(form).select_only(2);
    run();
    EXPECT_TRUE(test::matches_screenshot(screen->shown(), "settings-schedule"));
}

}
