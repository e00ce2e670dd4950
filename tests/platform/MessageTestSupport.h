#pragma once

#include "platform/core/MessageQueue.h"
#include "platform/core/Window.h"
#include "platform/core/headless/FakeClock.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace test {

// Windows made by a test on its thread, destroyed afterwards with whatever the test left
// in the thread's queue, so tests do not see each other's messages.
class MessageTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { platform::register_window_class({ u"TestWindow", {}, false }); }

    platform::Window make_window(platform::Window parent = {})
    {
        auto window = platform::create_window(u"TestWindow", parent);
        m_windows.push_back(window);
        return window;
    }

    void TearDown() override
    {
        for (auto it = m_windows.rbegin(); it != m_windows.rend(); ++it)
            platform::destroy_window(*it);
        platform::Message m;
        while (platform::peek_message(m)) { }
        m_clock.reset();
    }

    // Tests that drive the timers install a clock of their own.
    platform::headless::FakeClock& fake_clock()
    {
        if (!m_clock)
            m_clock.emplace(platform::clock_slot(), 1000);
        return **m_clock;
    }

    // What a procedure saw, as "message:wparam".
    std::vector<std::string> seen;

    platform::WindowProc recorder()
    {
        return [this](platform::Window, platform::MessageId id, platform::WParam w, platform::LParam) {
            seen.push_back(std::to_string(id) + ":" + std::to_string(w));
            return platform::LResult(id + w);
        };
    }

private:
    std::vector<platform::Window> m_windows;
    std::optional<platform::ScopedService<platform::Clock, platform::headless::FakeClock>> m_clock;
};

}
