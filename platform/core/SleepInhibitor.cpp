#include "platform/core/SleepInhibitor.h"

namespace platform {

namespace {

class NoSleepInhibitor final : public SleepInhibitor {
public:
    bool hold(std::u16string_view) override { return false; }
    void release() override { }
};

}

ServiceSlot<SleepInhibitor>& sleep_inhibitor_slot()
{
    static ServiceSlot<SleepInhibitor> slot(make_backend<SleepInhibitor, NoSleepInhibitor>);
    return slot;
}

}
