#include "platform/core/Clock.h"

#include <time.h>

namespace platform {

namespace {

class SystemClock final : public Clock {
public:
    std::uint32_t tick_count() const override
    {
        timespec now;
        clock_gettime(CLOCK_MONOTONIC, &now);
        const std::uint64_t ms = static_cast<std::uint64_t>(now.tv_sec) * 1000 + static_cast<std::uint64_t>(now.tv_nsec) / 1000000;
        return static_cast<std::uint32_t>(ms);
    }

    SystemTime local_time() const override
    {
        timespec now;
        clock_gettime(CLOCK_REALTIME, &now);
        tm local {};
        localtime_r(&now.tv_sec, &local);
        SystemTime t;
        t.year = static_cast<std::uint16_t>(local.tm_year + 1900);
        t.month = static_cast<std::uint16_t>(local.tm_mon + 1);
        t.day_of_week = static_cast<std::uint16_t>(local.tm_wday);
        t.day = static_cast<std::uint16_t>(local.tm_mday);
        t.hour = static_cast<std::uint16_t>(local.tm_hour);
        t.minute = static_cast<std::uint16_t>(local.tm_min);
        // A leap second shows as the 59th.
        t.second = static_cast<std::uint16_t>(local.tm_sec > 59 ? 59 : local.tm_sec);
        t.milliseconds = static_cast<std::uint16_t>(now.tv_nsec / 1000000);
        return t;
    }
};

}

ServiceSlot<Clock>& clock_slot()
{
    static ServiceSlot<Clock> slot(make_backend<Clock, SystemClock>);
    return slot;
}

}
