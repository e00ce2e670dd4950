#pragma once

#include "platform/core/Service.h"

#include <cstdint>

namespace platform {

// A broken-down local date and time, as the handheld keeps it.
struct SystemTime {
    std::uint16_t year = 1601;
    std::uint16_t month = 1;
    std::uint16_t day_of_week = 1; // 0 Sunday .. 6 Saturday
    std::uint16_t day = 1;
    std::uint16_t hour = 0;
    std::uint16_t minute = 0;
    std::uint16_t second = 0;
    std::uint16_t milliseconds = 0;

    bool operator==(const SystemTime&) const = default;
};

// 100-ns units since 1601-01-01 00:00, of local time: no time zones.
using FileTime = std::uint64_t;

constexpr FileTime file_time_of_1970 = 116444736000000000ULL;

// Fails for an impossible date or time; the day of week is ignored.
bool system_time_to_file_time(const SystemTime& time, FileTime& result);
// Fails for values of 2^63 and above; fills in the day of week.
bool file_time_to_system_time(FileTime time, SystemTime& result);

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since an arbitrary start; wraps after about 49.7 days.
    virtual std::uint32_t tick_count() const = 0;
    virtual SystemTime local_time() const = 0;
    // False for a clock that moves only when told to: it calls clock_moved()
    // whenever it moves, and a wait for a due time on it lasts until then.
    virtual bool runs_by_itself() const { return true; }
};

// Wakes every thread that waits for a due timer, to look at the clock again.
void clock_moved();

// The clock every part of the program reads; the system's by default.
ServiceSlot<Clock>& clock_slot();

inline Clock& clock() { return clock_slot().get(); }
inline std::uint32_t tick_count() { return clock().tick_count(); }
inline SystemTime local_time() { return clock().local_time(); }

}
