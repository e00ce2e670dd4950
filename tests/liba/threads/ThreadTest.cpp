#include "liba/Event.h"
#include "liba/Mutex.h"
#include "liba/MutexLock.h"
#include "liba/Thread.h"
#include "platform/core/Event.h"

#include <atomic>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// Runs until asked to stop.
class Looper : public liba::Thread {
public:
    std::atomic<int> passes { 0 };

protected:
    void run() override
    {
        while (!is_stop_requested()) {
            ++passes;
            liba::sleep(0);
        }
    }
};

// Ends by itself once released.
class Gated : public liba::Thread {
public:
    platform::Event gate;
    std::atomic<int> runs { 0 };

protected:
    void run() override
    {
        gate.wait();
        ++runs;
    }
};

void wait_until_idle(const liba::Thread& thread)
{
    while (thread.is_running())
        liba::sleep(1);
}

}

TEST(Thread, SecondStartWhileRunningIsRefused)
{
    Gated thread;
    ASSERT_TRUE(thread.start());
    EXPECT_NE(thread.thread_id(), 0u);
    EXPECT_FALSE(thread.start());
    thread.gate.set();
    thread.join();
    EXPECT_EQ(thread.runs, 1);
}

TEST(Thread, BodyThatEndsByItselfLeavesItStartable)
{
    Gated thread;
    thread.gate.set();
    ASSERT_TRUE(thread.start());
    wait_until_idle(thread);
    ASSERT_TRUE(thread.start()); // no join in between
    thread.join();
    EXPECT_EQ(thread.runs, 2);
}

TEST(Thread, JoinWithoutStartReturns)
{
    Looper thread;
    thread.join();
    EXPECT_FALSE(thread.is_running());
    EXPECT_FALSE(thread.set_priority(0));
}

TEST(Thread, StartStopJoinRaces)
{
    Looper looper;
    Gated gated;
    gated.gate.set();
    for (int i = 0; i < 200; ++i) {
        ASSERT_TRUE(looper.start());
        EXPECT_FALSE(looper.is_stop_requested()); // start clears a previous request
        looper.request_stop();
        looper.join();
        EXPECT_FALSE(looper.is_running());

        // Restarting races the end of a body that returns by itself.
        while (!gated.start()) {
        }
    }
    gated.join();
    EXPECT_EQ(gated.runs, 200);
}

TEST(Thread, TwoThreadsJoinTheSameWorker)
{
    Looper looper;
    ASSERT_TRUE(looper.start());
    Gated other;
    other.gate.set();
    std::atomic<bool> joined { false };
    struct Joiner : liba::Thread {
        Looper* target;
        std::atomic<bool>* joined;
        void run() override
        {
            target->join();
            *joined = true;
        }
    } joiner;
    joiner.target = &looper;
    joiner.joined = &joined;
    ASSERT_TRUE(joiner.start());
    looper.request_stop();
    looper.join();
    joiner.join();
    EXPECT_TRUE(joined);
}

TEST(Thread, PriorityLevelsAreClampedToTheScale)
{
    Looper thread;
    ASSERT_TRUE(thread.start());
    // -9 behaves as -2: the lowest priority.
    EXPECT_TRUE(thread.set_priority(-9));
    EXPECT_EQ(getpriority(PRIO_PROCESS, thread.thread_id()), 10);
    EXPECT_TRUE(thread.set_priority(-1));
    EXPECT_EQ(getpriority(PRIO_PROCESS, thread.thread_id()), geteuid() == 0 ? 5 : 10);
    // 7 behaves as 2; a refused raise is no error.
    EXPECT_TRUE(thread.set_priority(7));
    if (geteuid() == 0) {
        EXPECT_EQ(getpriority(PRIO_PROCESS, thread.thread_id()), -10);
    }
    thread.request_stop();
    thread.join();
}

TEST(Thread, ResumeBeforeSuspendIsNotLost)
{
    struct Sleeper : liba::Thread {
        platform::Event gate;
        std::atomic<int> suspend_result { -2 };
        void run() override
        {
            gate.wait();
            suspend_result = suspend();
        }
    } thread;
    ASSERT_TRUE(thread.start());
    EXPECT_EQ(thread.resume(), 0);
    thread.gate.set();
    thread.join();
    EXPECT_EQ(thread.suspend_result, 0);
}

TEST(Thread, SuspendedBodyWakesOnResume)
{
    struct Sleeper : liba::Thread {
        std::atomic<bool> woke { false };
        void run() override
        {
            suspend();
            woke = true;
        }
    } thread;
    ASSERT_TRUE(thread.start());
    EXPECT_EQ(thread.suspend(), -1); // only the thread itself may suspend
    thread.resume();
    thread.join();
    EXPECT_TRUE(thread.woke);
    EXPECT_EQ(thread.resume(), -1);
}

TEST(Event, ManualResetKeepsWaitsOpenUntilReset)
{
    liba::Event event;
    std::atomic<int> passed { 0 };
    struct Waiter : liba::Thread {
        liba::Event* event;
        std::atomic<int>* passed;
        void run() override
        {
            event->wait();
            ++*passed;
        }
    } waiters[3];
    for (auto& w : waiters) {
        w.event = &event;
        w.passed = &passed;
        ASSERT_TRUE(w.start());
    }
    EXPECT_EQ(passed, 0);
    event.set();
    for (auto& w : waiters)
        w.join();
    EXPECT_EQ(passed, 3);
    event.wait(); // still set
    event.wait();

    platform::Event raw;
    EXPECT_FALSE(raw.wait_for(0));
    raw.set();
    EXPECT_TRUE(raw.wait_for(0));
    raw.reset();
    EXPECT_FALSE(raw.wait_for(1));
}

TEST(Mutex, ExcludesOtherThreadsAndReentersForItsOwner)
{
    liba::Mutex mutex;
    long counter = 0;
    struct Adder : liba::Thread {
        liba::Mutex* mutex;
        long* counter;
        void run() override
        {
            for (int i = 0; i < 2000; ++i) {
                liba::MutexLock outer(*mutex);
                liba::MutexLock inner(*mutex); // same thread again
                ++*counter;
            }
        }
    } adders[4];
    for (auto& a : adders) {
        a.mutex = &mutex;
        a.counter = &counter;
        ASSERT_TRUE(a.start());
    }
    for (auto& a : adders)
        a.join();
    EXPECT_EQ(counter, 8000);
}

TEST(Mutex, DestroyedWhileHeldByItsThread)
{
    auto* mutex = new liba::Mutex;
    mutex->lock();
    mutex->lock();
    delete mutex; // leaves both entries, then goes
    SUCCEED();
}
