#include "tests/os/SchedulerTestSupport.h"

#include <functional>
#include <limits>

namespace {

class Scheduler : public test::SchedulerTest { };

class NamedTimer : public liba::Timer::Listener {
public:
    NamedTimer(std::vector<std::string>& log, std::string name)
        : timer(*this)
        , m_log(log)
        , m_name(std::move(name))
    {
    }

    void on_timer(liba::Timer& t) override
    {
        EXPECT_EQ(&t, &timer);
        m_log.push_back(m_name);
        if (then)
            then();
    }

    liba::Timer timer;
    std::function<void()> then;

private:
    std::vector<std::string>& m_log;
    std::string m_name;
};

TEST_F(Scheduler, TimersFireInDueOrderOnOnePlatformTimerArmedForTheNearest)
{
    NamedTimer a(ran, "a"), b(ran, "b");
    b.timer.start(0.3);
    a.timer.start(0.1);
    clock->advance(99);
    EXPECT_FALSE(timer_tick_waiting());
    clock->advance(1);
    EXPECT_TRUE(timer_tick_waiting()); // armed for 100 ms
    pump();
    EXPECT_EQ(ran, (std::vector<std::string> { "a" }));
    EXPECT_FALSE(a.timer.is_active());
    EXPECT_TRUE(b.timer.is_active());
    clock->advance(199);
    EXPECT_FALSE(timer_tick_waiting());
    clock->advance(1);
    EXPECT_TRUE(timer_tick_waiting()); // then for the remaining 200 ms
    pump();
    EXPECT_EQ(ran, (std::vector<std::string> { "a", "b" }));
    clock->advance(10000);
    EXPECT_FALSE(timer_tick_waiting()); // nothing left to arm for
}

TEST_F(Scheduler, RestartingMovesTheDueTimeAndFiresOnce)
{
    NamedTimer a(ran, "a");
    a.timer.start(0.1);
    clock->advance(80);
    pump();
    a.timer.start(0.1);
    expect_runs_after(100, { "a" });
    clock->advance(500);
    pump();
    EXPECT_EQ(ran, (std::vector<std::string> { "a" }));
}

TEST_F(Scheduler, CancellingAQueuedCompletionConsumesItAndARestartFiresOnlyAtTheNewTime)
{
    NamedTimer a(ran, "a");
    a.timer.start(0.05);
    clock->advance(60);
    // The tick makes the pass notify the timer: its completion is queued, not yet run.
    platform::Message m;
    ASSERT_TRUE(platform::peek_message(m, scheduler().window(), platform::msg::timer, platform::msg::timer));
    platform::dispatch_message(m);
    ASSERT_TRUE(platform::peek_message(m, scheduler().window(), platform::msg::active_completed,
        platform::msg::active_completed, platform::Peek::keep));

    a.timer.cancel();
    EXPECT_FALSE(a.timer.is_active());
    EXPECT_FALSE(platform::peek_message(
        m, {}, platform::msg::active_completed, platform::msg::active_completed, platform::Peek::keep));
    pump();
    EXPECT_TRUE(ran.empty());

    a.timer.start(0.1);
    expect_runs_after(100, { "a" });
}

TEST_F(Scheduler, CancellingARunningTimerCallsNobody)
{
    NamedTimer a(ran, "a");
    a.timer.start(0.1);
    a.timer.cancel();
    a.timer.cancel(); // a second cancel does nothing
    clock->advance(1000);
    pump();
    EXPECT_TRUE(ran.empty());
}

TEST_F(Scheduler, CompletionsMetWhileCancellingRunAfterItInQueueOrder)
{
    test::Operation first(ran, "first"), second(ran, "second"), cancelled(ran, "cancelled");
    first.set_active();
    second.set_active();
    cancelled.set_active();
    first.complete();
    second.complete();
    cancelled.cancel();
    EXPECT_EQ(ran, (std::vector<std::string> { "first", "second" }));
    EXPECT_FALSE(cancelled.is_active());
    pump();
    EXPECT_EQ(ran.size(), 2u);
}

TEST_F(Scheduler, ACancelInsideARunFindsItsCompletionAlreadyTaken)
{
    // b's completion is taken off the queue by the cancel of c; when a runs afterwards
    // and cancels b, b is not run.
    test::Operation b(ran, "b"), c(ran, "c");

    struct CancellingRun : test::Operation {
        using Operation::Operation;

        void run() override
        {
            Operation::run();
            victim->cancel();
        }

        CActive* victim = nullptr;
    } a(ran, "a");

    a.victim = &b;
    a.set_active();
    b.set_active();
    c.set_active();
    a.complete();
    b.complete();
    c.cancel();
    EXPECT_EQ(ran, (std::vector<std::string> { "a" }));
    EXPECT_FALSE(b.is_active());
    pump();
    EXPECT_EQ(ran, (std::vector<std::string> { "a" }));
}

TEST_F(Scheduler, AListenerStartingATimerDoesNotRepeatAnotherDueOne)
{
    NamedTimer a(ran, "a"), b(ran, "b"), c(ran, "c");
    a.then = [&] { c.timer.start(0.05); };
    a.timer.start(0.1);
    b.timer.start(0.1);
    clock->advance(100);
    pump();
    clock->advance(50);
    pump();
    clock->advance(1000);
    pump();
    EXPECT_EQ(ran, (std::vector<std::string> { "a", "b", "c" }));
}

TEST_F(Scheduler, ZeroAndOddDurationsFireAtTheNextPassNeverInsideStart)
{
    const double durations[] = { 0.0, 0.0004, -5.0, std::numeric_limits<double>::quiet_NaN() };
    for (double seconds : durations) {
        ran.clear();
        NamedTimer a(ran, "a");
        a.timer.start(seconds);
        EXPECT_TRUE(ran.empty()) << seconds;
        pump();
        EXPECT_EQ(ran, (std::vector<std::string> { "a" })) << seconds;
    }
    // A duration beyond any tick distance waits instead of firing at once.
    NamedTimer far(ran, "far");
    far.timer.start(1e12);
    clock->advance(1000);
    pump();
    EXPECT_TRUE(far.timer.is_active());
    far.timer.cancel();
}

TEST_F(Scheduler, DueTimesSurviveTheTickCountWrapping)
{
    clock->set_tick_count(0xFFFFFFFFu - 50);
    NamedTimer a(ran, "a");
    a.timer.start(0.1);
    expect_runs_after(100, { "a" });
}

TEST_F(Scheduler, ACancelThatMeetsTheQuitRequestLeavesItForTheLoop)
{
    test::Operation stuck(ran, "stuck");
    stuck.complete_on_cancel = false;
    stuck.set_active();
    platform::post_quit_message(4);
    scheduler().cancel(stuck);
    platform::Message m;
    EXPECT_FALSE(platform::get_message(m));
    EXPECT_EQ(m.wparam, 4u);
    // Its completion comes after all; the object is then run as usual.
    stuck.complete();
    pump();
    EXPECT_EQ(ran, (std::vector<std::string> { "stuck" }));
}

}
