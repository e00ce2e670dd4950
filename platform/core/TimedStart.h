#pragma once

#include "platform/core/Clock.h"
#include "platform/core/Service.h"

#include <optional>
#include <string_view>

namespace platform {

// What a program started by a timed start finds on its command line.
inline constexpr std::u16string_view timed_start_argument = u"AppRunAtTime";

// The platform's timed start of a program: at a local time the program is
// started with the one argument "AppRunAtTime", whether or not a copy of it
// runs (a running copy then gets the command line from the new one). At most
// one start is pending per program.
class TimedStart {
public:
    virtual ~TimedStart() = default;

    // Drops the start pending for the program, then registers one at the
    // time when there is a time. False when that could not be done.
    virtual bool run_app_at_time(std::u16string_view program, const std::optional<SystemTime>& time) = 0;
};

// The program's timed start: a waiting process of its own (WaiterTimedStart)
// unless something else is installed.
ServiceSlot<TimedStart>& timed_start_slot();

}
