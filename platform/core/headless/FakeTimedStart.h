#pragma once

#include "platform/core/TimedStart.h"

#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace platform::headless {

// Starts nothing: keeps the start pending for each program, for tests.
class FakeTimedStart final : public TimedStart {
public:
    struct Call {
        std::u16string program;
        std::optional<SystemTime> time;
    };

    bool run_app_at_time(std::u16string_view program, const std::optional<SystemTime>& time) override;

    // The start pending for the program; none when none is.
    std::optional<SystemTime> pending(std::u16string_view program) const;
    std::vector<Call> calls() const;

private:
    mutable std::mutex m_lock;
    std::vector<Call> m_calls;
    std::map<std::u16string, SystemTime, std::less<>> m_pending;
};

}
