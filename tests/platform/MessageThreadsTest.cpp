#include "platform/core/MessageQueue.h"
#include "platform/core/Window.h"
#include "tests/platform/MessageTestSupport.h"

#include <atomic>
#include <future>
#include <thread>

using namespace platform;

namespace {

class MessageThreads : public test::MessageTest { };

TEST_F(MessageThreads, PostsFromManyThreadsKeepEachSendersOrder)
{
    Window a = make_window();
    constexpr int senders = 4, each = 200;
    std::vector<std::thread> threads;
    for (int s = 0; s < senders; ++s) {
        threads.emplace_back([=] {
            for (int i = 0; i < each; ++i)
                post_message(a, 1030 + s, i);
        });
    }
    std::vector<WParam> next(senders, 0);
    Message m;
    for (int n = 0; n < senders * each; ++n) {
        ASSERT_TRUE(get_message(m));
        int s = static_cast<int>(m.message - 1030);
        ASSERT_EQ(m.wparam, next[s]) << "sender " << s;
        ++next[s];
    }
    for (auto& t : threads)
        t.join();
}

TEST_F(MessageThreads, SendFromAnotherThreadRunsOnTheOwnerAndServesSendsBack)
{
    Window gui = make_window();
    ThreadId gui_thread = current_thread_id();
    std::promise<Window> worker_window;
    std::atomic<bool> done { false };
    std::thread worker([&] {
        register_window_class({ u"WorkerWindow", {}, false });
        Window w = create_window(u"WorkerWindow");
        set_window_procedure(
            w, [](Window, MessageId id, WParam, LParam) { return LResult(id == 1040 ? 40 : 0); });
        worker_window.set_value(w);
        // While this waits for the GUI thread, the GUI thread sends to the worker.
        LResult r = send_message(gui, 1030, 5);
        EXPECT_EQ(r, 45);
        destroy_window(w);
        done = true;
        post_message(gui, 1031);
    });
    Window w = worker_window.get_future().get();
    set_window_procedure(gui, [gui_thread, w](Window, MessageId id, WParam wp, LParam) {
        EXPECT_EQ(current_thread_id(), gui_thread);
        return id == 1030 ? LResult(wp) + send_message(w, 1040) : 0;
    });
    Message m;
    ASSERT_TRUE(get_message(m)); // the send is served inside the wait, then the post arrives
    EXPECT_EQ(m.message, 1031u);
    EXPECT_TRUE(done);
    worker.join();
}

TEST_F(MessageThreads, ThreadQueuesExistFromTheirFirstUseUntilTheThreadEnds)
{
    std::promise<ThreadId> id;
    std::promise<void> go_on, queued;
    std::thread worker([&] {
        id.set_value(current_thread_id());
        go_on.get_future().wait();
        Message m;
        peek_message(m, {}, 0, 0, Peek::keep);
        queued.set_value();
        ASSERT_TRUE(get_message(m));
        EXPECT_EQ(m.message, 1030u);
        EXPECT_FALSE(get_message(m));
    });
    ThreadId t = id.get_future().get();
    EXPECT_FALSE(post_thread_message(t, 1030)); // no queue yet
    go_on.set_value();
    queued.get_future().wait();
    EXPECT_TRUE(post_thread_message(t, 1030));
    EXPECT_TRUE(post_thread_message(t, msg::quit));
    worker.join();
    EXPECT_FALSE(post_thread_message(t, 1030));
}

TEST_F(MessageThreads, AWindowWhoseThreadEndsFailsItsWaitingSenders)
{
    std::promise<Window> made;
    std::promise<void> release;
    std::thread owner([&] {
        Window w = create_window(u"TestWindow");
        made.set_value(w);
        release.get_future().wait(); // ends without taking its messages
    });
    Window w = made.get_future().get();
    auto sent = std::async(std::launch::async, [w] { return send_message_checked(w, 1030); });
    // Whether the send is queued before the owner ends or finds the window gone, it fails.
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    release.set_value();
    owner.join();
    EXPECT_FALSE(sent.get());
    EXPECT_FALSE(is_window(w));
    EXPECT_FALSE(post_message(w, 1030));
}

TEST_F(MessageThreads, ABlockedGetWakesWhenTheManualClockReachesATimer)
{
    auto& clock = fake_clock();
    Window a = make_window();
    set_timer(a, 9, 500);
    std::thread mover([&] {
        for (int i = 0; i < 5; ++i)
            clock.advance(100);
    });
    Message m;
    ASSERT_TRUE(get_message(m));
    EXPECT_EQ(m.message, msg::timer);
    EXPECT_GE(clock.tick_count(), 1500u);
    mover.join();
}

TEST_F(MessageThreads, ARealTimerWakesABlockedGet)
{
    Window a = make_window();
    set_timer(a, 1, 5);
    Message m;
    ASSERT_TRUE(get_message(m));
    EXPECT_EQ(m.message, msg::timer);
}

class CountingHook : public WaitHook {
public:
    void wait(std::optional<std::uint32_t>) override
    {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return woken; });
        woken = false;
    }

    void wake() override
    {
        std::lock_guard lock(mutex);
        woken = true;
        changed.notify_all();
    }

    std::mutex mutex;
    std::condition_variable changed;
    bool woken = false;
};

TEST_F(MessageThreads, PostsFromOtherThreadsWakeAWaitHook)
{
    Window a = make_window();
    CountingHook hook;
    set_wait_hook(&hook);
    std::thread poster([a] { post_message(a, 1030); });
    Message m;
    ASSERT_TRUE(get_message(m));
    set_wait_hook(nullptr);
    EXPECT_EQ(m.message, 1030u);
    poster.join();
}

}
