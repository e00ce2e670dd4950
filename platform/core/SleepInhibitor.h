#pragma once

#include "platform/core/Service.h"

#include <string_view>

namespace platform {

// Holds off the system's idle sleep and suspend while the program plays or
// records. One lock at most: a hold with another reason replaces the one
// held, a hold with the same reason changes nothing. GUI thread only.
class SleepInhibitor {
public:
    virtual ~SleepInhibitor() = default;
    // False when no lock could be had (no session manager to ask): the caller
    // goes on without one.
    virtual bool hold(std::u16string_view why) = 0;
    virtual void release() = 0;
};

// Until the program installs the system's, holding does nothing and fails.
ServiceSlot<SleepInhibitor>& sleep_inhibitor_slot();

inline SleepInhibitor& sleep_inhibitor() { return sleep_inhibitor_slot().get(); }

}
