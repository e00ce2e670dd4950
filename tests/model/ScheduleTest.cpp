#include "model/Schedule.h"

#include "os/XmlNode.h"
#include "platform/core/Utf8.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

using os::XmlNode;

namespace {

// 5 March 2007 at the hour and minute.
liba::DateTime at(int hour, int minute = 0)
{
    liba::DateTime time;
    time.set_date(2007, 3, 5);
    time.set_time(hour, minute, 0);
    return time;
}

ScheduleTask task(int begin_hour, int begin_minute, int end_hour, int end_minute)
{
    return { at(begin_hour, begin_minute), at(end_hour, end_minute) };
}

std::string text(const liba::DateTime& time)
{
    std::string result;
    time.to_string(result);
    return result;
}

std::string describe(const Schedule& schedule)
{
    std::string result;
    for (int i = 0; i < schedule.size(); ++i)
        result += "[" + text(schedule[i].begin) + " - " + text(schedule[i].end) + "]";
    return result;
}

Schedule load_schedule(const std::string& xml)
{
    test::TempDir dir;
    XmlNode document = XmlNode::load_file(platform::from_utf8(dir.write("s.xml", xml)));
    Schedule schedule;
    schedule.insert(task(1, 0, 2, 0)); // replaced by what the file holds
    schedule.load(XmlNode::find_child(XmlNode::find_child(document, u"Settings"), u"Schedule"));
    return schedule;
}

}

TEST(Schedule, InsertKeepsOrderAndRefusesOverlaps)
{
    struct Case {
        const char* name;
        std::vector<ScheduleTask> present;
        ScheduleTask added;
        int index;
    } cases[] = {
        { "into an empty schedule", {}, task(10, 0, 11, 0), 0 },
        { "touching the end", { task(10, 0, 11, 0) }, task(11, 0, 12, 0), 1 },
        { "overlapping the end", { task(10, 0, 11, 0) }, task(10, 30, 11, 30), -1 },
        { "touching the begin", { task(10, 0, 11, 0) }, task(9, 0, 10, 0), 0 },
        { "overlapping the next", { task(10, 0, 11, 0), task(12, 0, 13, 0) }, task(11, 30, 12, 30), -1 },
        { "filling the gap", { task(10, 0, 11, 0), task(12, 0, 13, 0) }, task(11, 0, 12, 0), 1 },
        { "same begin", { task(10, 0, 11, 0) }, task(10, 0, 10, 30), -1 },
        { "inside", { task(10, 0, 11, 0) }, task(10, 15, 10, 45), -1 },
        { "around", { task(10, 0, 11, 0) }, task(9, 0, 12, 0), -1 },
        { "after all", { task(10, 0, 11, 0), task(12, 0, 13, 0) }, task(14, 0, 15, 0), 2 },
    };

    for (const auto& c : cases) {
        Schedule schedule;
        for (const auto& t : c.present)
            ASSERT_GE(schedule.insert(t), 0) << c.name;
        const std::string before = describe(schedule);
        EXPECT_EQ(schedule.insert(c.added), c.index) << c.name;
        if (c.index < 0) {
            EXPECT_EQ(describe(schedule), before) << c.name;
            continue;
        }
        ASSERT_EQ(schedule.size(), static_cast<int>(c.present.size()) + 1) << c.name;
        EXPECT_TRUE(schedule[c.index].begin.is_equal(c.added.begin)) << c.name;
        for (int i = 1; i < schedule.size(); ++i)
            EXPECT_FALSE(schedule[i - 1].end.is_after(schedule[i].begin)) << c.name;
    }
}

TEST(Schedule, FindsTheTaskAtATimeAndTheNextOne)
{
    Schedule schedule;
    schedule.insert(task(10, 0, 11, 0));
    schedule.insert(task(12, 0, 13, 0));

    struct Case {
        liba::DateTime time;
        int containing;
        int next;
    } cases[] = {
        { at(9, 0), -1, 0 },
        { at(10, 0), 0, 1 }, // a task that begins at the time is not the next one
        { at(10, 59), 0, 1 },
        { at(11, 0), -1, 1 }, // a task never contains its own end
        { at(12, 30), 1, -1 },
        { at(13, 0), -1, -1 },
    };

    for (const auto& c : cases) {
        EXPECT_EQ(schedule.find_containing(c.time), c.containing) << text(c.time);
        EXPECT_EQ(schedule.find_next(c.time), c.next) << text(c.time);
    }

    // Milliseconds count.
    liba::DateTime just_before_end;
    just_before_end.set_file_time(at(11, 0).file_time() - 10000);
    EXPECT_EQ(schedule.find_containing(just_before_end), 0);

    schedule.insert(task(11, 0, 12, 0));
    EXPECT_EQ(schedule.find_containing(at(11, 0)), 1);

    schedule.remove(1);
    schedule.remove(7); // out of range: nothing happens
    EXPECT_EQ(schedule.size(), 2);
    EXPECT_EQ(schedule.find_containing(at(11, 0)), -1);
    schedule.clear();
    EXPECT_EQ(schedule.find_next(at(0, 0)), -1);
    EXPECT_EQ(schedule.find_containing(at(10, 30)), -1);
}

TEST(Schedule, TextFormRoundTrips)
{
    test::TempDir dir;
    Schedule schedule;
    schedule.insert(task(10, 0, 11, 0));
    schedule.insert(task(8, 5, 9, 30));
    XmlNode document = XmlNode::create_document();
    schedule.save(XmlNode::append_element(XmlNode::append_element(document, u"Settings"), u"Schedule"));
    const std::string path = dir.file("s.xml");
    ASSERT_TRUE(XmlNode::save_file(document, platform::from_utf8(path)));
    const std::string saved = test::read_file(path);
    EXPECT_NE(
        saved.find("<Task Begin=\"2007 03 05 08 05 00\" End=\"2007 03 05 09 30 00\""), std::string::npos)
        << saved;

    EXPECT_EQ(describe(load_schedule(saved)), describe(schedule));
}

TEST(Schedule, LoadTakesTheFileAsItIs)
{
    // Out of order and overlapping: kept in file order, untested.
    EXPECT_EQ(describe(load_schedule("<Settings><Schedule>"
                                     "<Task Begin=\"2007 03 05 12 00 00\" End=\"2007 03 05 13 00 00\"/>"
                                     "<Task Begin=\"2007 03 05 10 00 00\" End=\"2007 03 05 12 30 00\"/>"
                                     "</Schedule></Settings>")),
        "[2007 03 05 12 00 00 - 2007 03 05 13 00 00][2007 03 05 10 00 00 - 2007 03 05 12 30 00]");

    // A missing or broken time is the zero date-time; any element is a task,
    // but comments, instructions and text are not.
    EXPECT_EQ(describe(load_schedule("<Settings><Schedule>\n"
                                     "  <!-- planned by hand -->\n"
                                     "  <Task Begin=\"2007 03 05 10 00 00\"/>\n"
                                     "  <?note x?>stray text\n"
                                     "  <Other Begin=\"2007 3 5 9 0 0\" End=\"2007 02 30 10 00 00\"/>\n"
                                     "</Schedule></Settings>")),
        "[2007 03 05 10 00 00 - 1601 01 01 00 00 00][2007 03 05 09 00 00 - 1601 01 01 00 00 00]");

    EXPECT_EQ(load_schedule("<Settings/>").size(), 0);
    EXPECT_EQ(load_schedule("not xml").size(), 0);
}
