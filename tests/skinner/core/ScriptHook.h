#pragma once

#include "platform/core/MessageQueue.h"
#include "skinner/core/ControlSubclass.h"

#include <functional>
#include <map>
#include <vector>

namespace test {

// Watches a form's window: runs an action when a message of its own comes
// (so a test can start a nested loop from inside a running one), and counts
// the messages it is asked to.
class ScriptHook final : public skinner::ControlSubclass {
public:
    static constexpr platform::MessageId run = platform::msg::user + 200;

    explicit ScriptHook(platform::Window window) { subclass(window); }

    // Posts the run message; the action runs when the loop takes it.
    void post(std::function<void()> action)
    {
        m_actions.push_back(std::move(action));
        platform::post_message(window(), run);
    }

    int count(platform::MessageId id, platform::WParam wparam) const
    {
        auto it = m_counts.find({ id, wparam });
        return it == m_counts.end() ? 0 : it->second;
    }

    platform::LResult window_proc(
        platform::MessageId id, platform::WParam wparam, platform::LParam, MessageContext& context) override
    {
        ++m_counts[{ id, wparam }];
        if (id != run || m_actions.empty())
            return 0;
        context.pass_on = false;
        auto action = std::move(m_actions.front());
        m_actions.erase(m_actions.begin());
        action();
        return 0;
    }

private:
    std::vector<std::function<void()>> m_actions;
    std::map<std::pair<platform::MessageId, platform::WParam>, int> m_counts;
};

}
