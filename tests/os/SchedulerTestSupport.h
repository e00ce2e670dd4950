#pragma once

#include "os/Application.h"
#include "os/CActive.h"
#include "os/CActiveScheduler.h"
#include "os/Timer.h"
#include "platform/core/MessageQueue.h"
#include "platform/core/headless/FakeClock.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace test {

// An application with its scheduler on a fake clock, and a log of what ran.
class SchedulerTest : public ::testing::Test {
protected:
    SchedulerTest()
        : clock(platform::clock_slot(), 5000)
        , application(u"SchedulerTest")
    {
    }

    ~SchedulerTest() override
    {
        platform::Message m;
        while (platform::peek_message(m)) { }
    }

    CActiveScheduler& scheduler() { return application.get_scheduler(); }

    // Runs every message that is waiting now, as the program's loop would.
    void pump()
    {
        platform::Message m;
        while (platform::peek_message(m))
            platform::dispatch_message(m);
    }

    // Nothing new runs until ms have passed; then what ran is the expected list.
    void expect_runs_after(std::uint32_t ms, const std::vector<std::string>& expected)
    {
        auto before = ran;
        clock->advance(ms - 1);
        pump();
        EXPECT_EQ(ran, before) << "before " << ms << " ms";
        clock->advance(1);
        pump();
        EXPECT_EQ(ran, expected) << "at " << ms << " ms";
    }

    // Whether the scheduler's platform timer has a tick waiting.
    bool timer_tick_waiting()
    {
        platform::Message m;
        return platform::peek_message(
            m, scheduler().window(), platform::msg::timer, platform::msg::timer, platform::Peek::keep);
    }

    platform::ScopedService<platform::Clock, platform::headless::FakeClock> clock;
    os::Application application;
    std::vector<std::string> ran;
};

// An active object whose operation completes when told to.
class Operation : public CActive {
public:
    Operation(std::vector<std::string>& log, std::string name)
        : m_log(log)
        , m_name(std::move(name))
    {
    }

    void run() override { m_log.push_back(m_name); }

    // Like a real operation, it completes once.
    void complete()
    {
        m_completed = true;
        notify();
    }

    void DoCancel() override
    {
        if (complete_on_cancel && !m_completed)
            complete();
    }

    bool complete_on_cancel = true;

private:
    std::vector<std::string>& m_log;
    std::string m_name;
    bool m_completed = false;
};

}
