#pragma once

#include "platform/core/SleepInhibitor.h"

#include <string>

namespace platform::logind {

// Takes a "block" inhibitor lock on sleep and idle from systemd-logind over
// the system bus. The lock is a file descriptor that logind hands back:
// closing it releases the lock, and the process's end closes it too.
// Without a system bus or logind, holding fails at once from then on.
class LogindSleepInhibitor final : public SleepInhibitor {
public:
    LogindSleepInhibitor() = default;
    ~LogindSleepInhibitor() override;
    LogindSleepInhibitor(const LogindSleepInhibitor&) = delete;
    LogindSleepInhibitor& operator=(const LogindSleepInhibitor&) = delete;

    bool hold(std::u16string_view why) override;
    void release() override;

private:
    // The lock's descriptor, or -1.
    static int take_lock(const std::string& why);

    int m_lock = -1;
    std::u16string m_reason;
    bool m_unavailable = false;
};

}
