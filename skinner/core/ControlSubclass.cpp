#include "skinner/core/ControlSubclass.h"

#include "platform/core/Window.h"

#include <algorithm>
#include <map>
#include <utility>
#include <vector>

namespace skinner {

namespace {

struct SubclassRecord {
    platform::WindowProc prior_proc;
    std::vector<ControlSubclass*> subscribers; // in the order of hooking
};

std::map<platform::Window, SubclassRecord>& registry()
{
    static std::map<platform::Window, SubclassRecord> records;
    return records;
}

bool is_hooked(platform::Window window, const ControlSubclass* subscriber)
{
    auto it = registry().find(window);
    return it != registry().end() && std::ranges::find(it->second.subscribers, subscriber) != it->second.subscribers.end();
}

void unhook_all(platform::Window window)
{
    for (;;) {
        auto it = registry().find(window);
        if (it == registry().end() || it->second.subscribers.empty())
            return;
        it->second.subscribers.back()->unsubclass();
    }
}

// Hooks may unhook themselves or each other, and the last unhook erases the
// record: the prior procedure and the list of hooks are copied before any runs,
// and a hook that has left by its turn is skipped.
platform::LResult shared_window_proc(
    platform::Window window, platform::MessageId message, platform::WParam wparam, platform::LParam lparam)
{
    auto it = registry().find(window);
    if (it == registry().end())
        return 0;
    const platform::WindowProc prior = it->second.prior_proc;
    const std::vector<ControlSubclass*> snapshot = it->second.subscribers;

    bool call_prior = true;
    platform::LResult result = 0;
    for (auto hook = snapshot.rbegin(); hook != snapshot.rend(); ++hook) {
        if (!is_hooked(window, *hook))
            continue;
        ControlSubclass::MessageContext context { true, wparam, lparam };
        platform::LResult r = (*hook)->window_proc(message, wparam, lparam, context);
        if (!context.pass_on) {
            call_prior = false;
            result = r;
        }
    }
    if (message == platform::msg::destroy)
        unhook_all(window);
    if (call_prior)
        result = prior(window, message, wparam, lparam);
    return result;
}

}

ControlSubclass::~ControlSubclass()
{
    unsubclass();
}

std::optional<std::size_t> ControlSubclass::subclass(platform::Window window)
{
    unsubclass();
    auto [it, created] = registry().try_emplace(window);
    SubclassRecord& record = it->second;
    if (created) {
        record.prior_proc = platform::window_procedure(window);
        if (!record.prior_proc) {
            registry().erase(it);
            return std::nullopt;
        }
        platform::set_window_procedure(window, shared_window_proc);
    }
    m_window = window;
    record.subscribers.push_back(this);
    return record.subscribers.size() - 1;
}

void ControlSubclass::unsubclass()
{
    if (m_window == platform::no_window)
        return;
    platform::Window window = std::exchange(m_window, platform::no_window);
    auto it = registry().find(window);
    if (it == registry().end())
        return;
    std::erase(it->second.subscribers, this);
    if (!it->second.subscribers.empty())
        return;
    platform::set_window_procedure(window, std::move(it->second.prior_proc));
    registry().erase(it);
}

}
