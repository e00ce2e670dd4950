#include "platform/core/logind/LogindSleepInhibitor.h"

#include "platform/core/Utf8.h"

#include <fcntl.h>
#include <systemd/sd-bus.h>
#include <unistd.h>

namespace platform::logind {

namespace {

// Frees what sd-bus hands out when it goes out of scope.
struct BusCall {
    sd_bus* bus = nullptr;
    sd_bus_message* reply = nullptr;
    sd_bus_error error = SD_BUS_ERROR_NULL;
    ~BusCall()
    {
        sd_bus_error_free(&error);
        sd_bus_message_unref(reply);
        sd_bus_flush_close_unref(bus);
    }
};

}

LogindSleepInhibitor::~LogindSleepInhibitor()
{
    release();
}

bool LogindSleepInhibitor::hold(std::u16string_view why)
{
    if (m_lock >= 0 && m_reason == why)
        return true;
    if (m_unavailable)
        return false;
    const int lock = take_lock(to_utf8(why));
    if (lock < 0) {
        m_unavailable = true;
        return false;
    }
    // the new lock before the old one goes, so sleep never slips in between
    release();
    m_lock = lock;
    m_reason = why;
    return true;
}

void LogindSleepInhibitor::release()
{
    if (m_lock >= 0)
        ::close(m_lock);
    m_lock = -1;
    m_reason.clear();
}

int LogindSleepInhibitor::take_lock(const std::string& why)
{
    BusCall call;
    if (sd_bus_open_system(&call.bus) < 0)
        return -1;
    // a bus without logind answers at once; a stuck one must not hold up the GUI thread for long
    sd_bus_set_method_call_timeout(call.bus, 2'000'000);
    if (sd_bus_call_method(call.bus, "org.freedesktop.login1", "/org/freedesktop/login1",
            "org.freedesktop.login1.Manager", "Inhibit", &call.error, &call.reply, "ssss", "sleep:idle", "Orvanta",
            why.c_str(), "block")
        < 0)
        return -1;
    int descriptor = -1;
    if (sd_bus_message_read(call.reply, "h", &descriptor) < 0 || descriptor < 0)
        return -1;
    // the reply owns its descriptor and closes it when it goes
    return ::fcntl(descriptor, F_DUPFD_CLOEXEC, 3);
}

}
