#include "platform/core/MessageQueue.h"

#include "platform/core/Window.h"
#include "tests/platform/MessageTestSupport.h"

#include <algorithm>
#include <memory>

using namespace platform;

namespace {

class MessageQueue : public test::MessageTest { };

std::vector<MessageId> drain()
{
    std::vector<MessageId> ids;
    Message m;
    while (peek_message(m))
        ids.push_back(m.message);
    return ids;
}

TEST_F(MessageQueue, FiltersTakeTheFirstMatchAndLeaveTheRestInOrder)
{
    Window a = make_window();
    Window b = make_window();
    post_message(a, 1030);
    post_message(b, 1031);
    post_message(a, 1032);
    post_thread_message(current_thread_id(), 1033);
    post_message(b, 1034);

    Message m;
    ASSERT_TRUE(peek_message(m, b));
    EXPECT_EQ(m.message, 1031u);
    EXPECT_EQ(m.window, b);
    ASSERT_TRUE(peek_message(m, {}, 1032, 1033));
    EXPECT_EQ(m.message, 1032u);
    EXPECT_FALSE(peek_message(m, a, 1033, 1040));
    EXPECT_EQ(drain(), (std::vector<MessageId> { 1030, 1033, 1034 }));
}

TEST_F(MessageQueue, PeekCanLeaveTheMessageQueued)
{
    Window a = make_window();
    Message m;
    EXPECT_FALSE(peek_message(m));
    post_message(a, 1030, 5, -6);
    ASSERT_TRUE(peek_message(m, {}, 0, 0, Peek::keep));
    ASSERT_TRUE(get_message(m));
    EXPECT_EQ(m.message, 1030u);
    EXPECT_EQ(m.wparam, 5u);
    EXPECT_EQ(m.lparam, -6);
    EXPECT_FALSE(peek_message(m));
}

TEST_F(MessageQueue, QuitComesAfterPostedMessagesWhateverTheFilter)
{
    Window a = make_window();
    post_quit_message(3);
    post_message(a, 1030);
    Message m;
    ASSERT_TRUE(get_message(m));
    EXPECT_EQ(m.message, 1030u);
    EXPECT_FALSE(get_message(m, a, 1029, 1029));
    EXPECT_EQ(m.message, msg::quit);
    EXPECT_EQ(m.wparam, 3u);
    EXPECT_FALSE(peek_message(m));

    // A quit posted as a thread message ends the loop in order too.
    post_message(a, 1031);
    post_thread_message(current_thread_id(), msg::quit);
    post_message(a, 1032);
    EXPECT_TRUE(get_message(m));
    EXPECT_FALSE(get_message(m));
    EXPECT_TRUE(get_message(m));
    EXPECT_EQ(m.message, 1032u);
}

TEST_F(MessageQueue, SendOnTheOwningThreadCallsTheProcedureAtOnce)
{
    Window a = make_window();
    set_window_procedure(a, recorder());
    post_message(a, 1030, 1);
    EXPECT_EQ(send_message(a, 1031, 2), 1033);
    EXPECT_EQ(seen, (std::vector<std::string> { "1031:2" }));
    Message m;
    ASSERT_TRUE(get_message(m));
    EXPECT_EQ(dispatch_message(m), 1031);
    EXPECT_EQ(seen.back(), "1030:1");
}

TEST_F(MessageQueue, TimersRepeatWithoutPilingUp)
{
    auto& clock = fake_clock();
    Window a = make_window();
    ASSERT_TRUE(set_timer(a, 7, 100));
    Message m;
    clock.advance(99);
    EXPECT_FALSE(peek_message(m));
    clock.advance(1);
    ASSERT_TRUE(peek_message(m, {}, 0, 0, Peek::keep));
    ASSERT_TRUE(peek_message(m));
    EXPECT_EQ(m.message, msg::timer);
    EXPECT_EQ(m.window, a);
    EXPECT_EQ(m.wparam, 7u);
    EXPECT_FALSE(peek_message(m));

    // Overdue by several periods: still one message, and the next period counts from it.
    clock.advance(350);
    EXPECT_EQ(drain(), (std::vector<MessageId> { msg::timer }));
    clock.advance(99);
    EXPECT_FALSE(peek_message(m));
    clock.advance(1);
    EXPECT_TRUE(peek_message(m));

    // Setting the same id restarts it; killing it stops it.
    clock.advance(50);
    ASSERT_TRUE(set_timer(a, 7, 100));
    clock.advance(60);
    EXPECT_FALSE(peek_message(m));
    EXPECT_TRUE(kill_timer(a, 7));
    EXPECT_FALSE(kill_timer(a, 7));
    clock.advance(1000);
    EXPECT_FALSE(peek_message(m));
}

TEST_F(MessageQueue, TimersWaitBehindPostedMessagesAndComeInDueOrder)
{
    auto& clock = fake_clock();
    Window a = make_window();
    Window b = make_window();
    set_timer(a, 1, 300);
    set_timer(b, 2, 100);
    set_timer(a, 3, 200);
    clock.advance(300);
    post_message(a, 1030);

    Message m;
    std::vector<WParam> order;
    ASSERT_TRUE(get_message(m));
    EXPECT_EQ(m.message, 1030u);
    while (peek_message(m, {}, msg::timer, msg::timer))
        order.push_back(m.wparam);
    EXPECT_EQ(order, (std::vector<WParam> { 2, 3, 1 }));

    // A window filter takes only that window's timers; a range without the timer none.
    clock.advance(300);
    EXPECT_FALSE(peek_message(m, {}, 1024, 2000));
    ASSERT_TRUE(peek_message(m, a));
    EXPECT_EQ(m.wparam, 3u);
    ASSERT_TRUE(peek_message(m, a));
    EXPECT_EQ(m.wparam, 1u);
    EXPECT_FALSE(peek_message(m, a));
    EXPECT_TRUE(peek_message(m, b));
}

TEST_F(MessageQueue, TimersAreRefusedForForeignOrMissingWindows)
{
    EXPECT_FALSE(set_timer(no_window, 1, 10));
    Window a = make_window();
    ASSERT_TRUE(destroy_window(a));
    EXPECT_FALSE(set_timer(a, 1, 10));
}

TEST_F(MessageQueue, ReplacedProceduresChainAndMayUnhookWhileRunning)
{
    Window a = make_window();
    set_window_procedure(a, recorder());
    WindowProc prior = window_procedure(a);
    auto hook_state = std::make_shared<std::string>("hook");
    // The hook removes itself in the middle of a message, then still uses what it holds.
    set_window_procedure(a, [a, prior, hook_state, this](Window w, MessageId id, WParam wp, LParam lp) {
        if (id == 1031)
            set_window_procedure(a, prior);
        seen.push_back(*hook_state);
        return prior(w, id, wp, lp) + 100;
    });
    hook_state.reset();

    EXPECT_EQ(send_message(a, 1030), 1130);
    EXPECT_EQ(send_message(a, 1031), 1131);
    EXPECT_EQ(send_message(a, 1032), 1032);
    EXPECT_EQ(seen, (std::vector<std::string> { "hook", "1030:0", "hook", "1031:0", "1032:0" }));
}

TEST_F(MessageQueue, DestroyingAWindowTellsItFirstAndThenRefusesIt)
{
    auto& clock = fake_clock();
    Window a = make_window();
    set_window_procedure(a, recorder());
    set_timer(a, 1, 10);
    post_message(a, 1030);
    ASSERT_TRUE(destroy_window(a));
    EXPECT_EQ(seen, (std::vector<std::string> { "2:0" }));
    EXPECT_FALSE(is_window(a));
    EXPECT_FALSE(destroy_window(a));
    EXPECT_FALSE(post_message(a, 1031));
    EXPECT_EQ(send_message(a, 1032), 0);
    EXPECT_FALSE(send_message_checked(a, 1032));

    // What was queued for it is dropped with it; the timer is gone.
    clock.advance(100);
    Message m;
    EXPECT_FALSE(peek_message(m));
    EXPECT_EQ(seen.size(), 1u);
}

TEST_F(MessageQueue, AWindowMayDestroyItselfFromItsOwnProcedure)
{
    Window a = make_window();
    int destroys = 0;
    set_window_procedure(a, [&](Window w, MessageId id, WParam, LParam) {
        if (id == 1030)
            destroy_window(w);
        if (id == msg::destroy)
            ++destroys;
        return LResult(0);
    });
    post_message(a, 1030);
    Message m;
    ASSERT_TRUE(get_message(m));
    dispatch_message(m);
    EXPECT_FALSE(is_window(a));
    EXPECT_EQ(destroys, 1);
}

TEST_F(MessageQueue, ClassesAndWindowRelations)
{
    EXPECT_FALSE(register_window_class({ u"testwindow", {}, false }));
    EXPECT_EQ(create_window(u"NoSuchClass"), no_window);
    Window top = make_window();
    Window owned = make_window(top);
    EXPECT_EQ(create_window(u"TestWindow", Window { 0xFFFFFF }), no_window);
    EXPECT_EQ(window_class_name(owned), u"TestWindow");
    EXPECT_EQ(window_parent(owned), top);
    EXPECT_EQ(window_parent(top), no_window);
    EXPECT_EQ(window_thread(top), current_thread_id());
    auto tops = top_level_windows();
    EXPECT_NE(std::find(tops.begin(), tops.end(), top), tops.end());
    EXPECT_EQ(std::find(tops.begin(), tops.end(), owned), tops.end());

    // A class's own procedure serves its new windows; a class without one does nothing.
    ASSERT_TRUE(register_window_class(
        { u"Answering", [](Window, MessageId id, WParam, LParam) { return LResult(id * 2); } }));
    Window answering = create_window(u"ANSWERING");
    EXPECT_EQ(send_message(answering, 1030), 2060);
    EXPECT_EQ(send_message(top, 1030), 0);
    destroy_window(answering);
}

// Stands in for a window system whose input arrives while the thread waits.
class FakeWindowSystem : public WaitHook {
public:
    explicit FakeWindowSystem(Window target)
        : m_target(target)
    {
    }

    void wait(std::optional<std::uint32_t>) override
    {
        ++waits;
        post_message(m_target, msg::left_button_down, 0, 0x00050004);
    }

    void wake() override { ++wakes; }

    int waits = 0;
    int wakes = 0;

private:
    Window m_target;
};

TEST_F(MessageQueue, AWaitHookWaitsInsteadOfTheQueueAndIsWokenByPosts)
{
    Window a = make_window();
    FakeWindowSystem system(a);
    set_wait_hook(&system);
    Message m;
    ASSERT_TRUE(get_message(m));
    set_wait_hook(nullptr);
    EXPECT_EQ(m.message, msg::left_button_down);
    EXPECT_EQ(system.waits, 1);
    EXPECT_EQ(system.wakes, 1); // its own post woke it
}

}
