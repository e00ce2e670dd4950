#pragma once

#include "platform/core/RegistryStore.h"
#include "platform/core/TimedStart.h"

#include <string>

namespace platform {

// A timed start by a detached process that sleeps until the time and then
// becomes the program. The waiter's process id and start time are kept in
// the registry store (HKEY_CURRENT_USER\Software\Qiro\RunAtTime, a value
// named by the program), so a later run of the program can replace or
// cancel it; a process id that has since passed to another process is
// recognised by its start time and left alone.
class WaiterTimedStart final : public TimedStart {
public:
    explicit WaiterTimedStart(std::string registry_file = default_registry_file());

    bool run_app_at_time(std::u16string_view program, const std::optional<SystemTime>& time) override;

private:
    bool cancel(std::u16string_view program);

    RegistryStore m_store;
};

}
