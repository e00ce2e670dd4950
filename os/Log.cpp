#include "os/Log.h"

#include "os/FatalRescue.h"

#include "liba/MutexLock.h"
#include "os/Registry.h"
#include "platform/core/MessageBox.h"
#include "platform/core/Process.h"

#include <memory>
#include <mutex>
#include <utility>
#include <vector>

namespace os {

Log<char16_t>::Log(std::u16string_view path)
    : TextOStreamFile<char16_t>(path)
{
}

void Log<char16_t>::write(const char16_t* begin, const char16_t* end)
{
    liba::MutexLock lock(m_mutex);
    if (!m_retired)
        TextOStreamFile<char16_t>::write(begin, end);
}

void Log<char16_t>::flush()
{
    liba::MutexLock lock(m_mutex);
    if (!m_retired)
        TextOStreamFile<char16_t>::flush();
}

void Log<char16_t>::retire()
{
    liba::MutexLock lock(m_mutex);
    m_retired = true;
    close();
}

namespace {

struct TraceState {
    std::mutex mutex;
    liba::TextOStream<char16_t>* current = nullptr;
    Log<char16_t>* current_log = nullptr;
    bool switched_on = false;
    std::uint64_t generation = 0; // of the store when the switch was read
    liba::TextOStreamEmpty<char16_t> empty;
    // Replaced trace files stay alive, closed: another thread may still be
    // writing to one.
    std::vector<std::unique_ptr<Log<char16_t>>> logs;
};

TraceState& trace_state()
{
    static TraceState* state = new TraceState; // never destroyed: traced to until the end
    return *state;
}

}

liba::TextOStream<char16_t>& log()
{
    TraceState& state = trace_state();
    // The switch is read again only when the store changed.
    const std::uint64_t generation = registry_store().generation();
    {
        std::lock_guard lock(state.mutex);
        if (state.current && state.generation == generation)
            return *state.current;
    }
    std::uint32_t value = 0;
    const bool on = registry_read_dword(u"HKEY_CURRENT_USER\\Software\\Qiro", u"Log", value) && value != 0;

    std::lock_guard lock(state.mutex);
    // A change while reading (the key made by the read, say) is read again next time.
    state.generation = generation;
    if (state.current && state.switched_on == on)
        return *state.current;
    if (state.current_log)
        state.current_log->retire();
    state.current_log = nullptr;
    if (on) {
        state.logs.push_back(std::make_unique<Log<char16_t>>(u"%app_full_name%.txt"));
        state.current_log = state.logs.back().get();
        state.current = state.current_log;
    } else {
        state.current = &state.empty;
    }
    state.switched_on = on;
    return *state.current;
}

namespace {

std::mutex rescue_mutex;

std::function<void()>& rescue_slot()
{
    static auto* rescue = new std::function<void()>;
    return *rescue;
}

std::function<void()> take_rescue()
{
    std::lock_guard lock(rescue_mutex);
    return std::exchange(rescue_slot(), nullptr);
}

}

void set_fatal_error_rescue(std::function<void()> rescue)
{
    std::lock_guard lock(rescue_mutex);
    rescue_slot() = std::move(rescue);
}

void fatal_error(std::u16string_view location, std::u16string_view message)
{
    const std::u16string where(location);
    const std::u16string what(message);
    auto& trace = log();
    trace << u"Gluck: " + what + u" @ " + where + u"\n";
    trace.flush();
    if (auto rescue = take_rescue())
        rescue();
    platform::message_box(what, where);
    platform::terminate_process(fatal_exit_code);
}

}
