#include "platform/TimedStart.h"

#include "platform/posix/WaiterTimedStart.h"

namespace platform {

ServiceSlot<TimedStart>& timed_start()
{
    static ServiceSlot<TimedStart> slot(
        []() -> std::unique_ptr<TimedStart> { return std::make_unique<WaiterTimedStart>(); });
    return slot;
}

}
