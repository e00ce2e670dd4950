#pragma once

#include "liba/DateTime.h"

namespace os {
class XmlNode;
}

// One planned recording: from begin until end, local time.
struct ScheduleTask {
    ScheduleTask() = default;
    ScheduleTask(const liba::DateTime& begin, const liba::DateTime& end);

    // Sets "Begin" and then "End" on a "Task" element.
    void save(const os::XmlNode& element) const;
    // A missing or unreadable attribute leaves its time at the zero date-time.
    void load(const os::XmlNode& element);

    liba::DateTime begin;
    liba::DateTime end;
};
