#include "skinner/core/MessageLoop.h"

#include "platform/ui/Input.h"
#include "tests/platform/ui/UiTest.h"
#include "tests/skinner/EditionOnly.h"

#include <string>
#include <vector>

using namespace platform;

namespace {

constexpr MessageId start_inner = msg::user + 100;
constexpr MessageId marker = msg::user + 101;
constexpr MessageId pump = msg::user + 102;

class MessageLoops : public test::UiTest {
protected:
    void SetUp() override
    {
        outer = make_window({ 0, 26, 240, 268 }, ws::visible, test::green);
        inner = make_window({ 20, 60, 200, 200 }, ws::visible, test::blue, outer);
    }

    LResult procedure(Window w, MessageId id, WParam wp, LParam lp) override
    {
        if (id == start_inner) {
            events.push_back("inner starts");
            skinner::run_message_loop(inner);
            events.push_back("inner ended");
        } else if (id == marker) {
            events.push_back("marker");
        } else if (id == pump) {
            skinner::process_pending_messages();
            events.push_back("pumped");
        } else if (id == msg::close) {
            // As a form's window closes: after the loops inside its own.
            if (skinner::close_inner_loops_first(w))
                return 0;
            events.push_back(w == outer ? "close outer" : "close inner");
            post_message(w, msg::form_close);
            return 0;
        }
        return UiTest::procedure(w, id, wp, lp);
    }

    // Posts from the script, so that each message comes when the loop waits.
    void post_later(Window w, MessageId id)
    {
        screen->call([w, id] { post_message(w, id); });
    }

    std::vector<std::string> events;
    Window outer {};
    Window inner {};
};

// A key press reaches its window once, as the key with the character it made.
TEST_F(MessageLoops, AKeyPressIsHandedOnOnceWithItsCharacter)
{
    ORVANTA_POCKET_PC_ONLY();
    struct Case {
        const char* name;
        std::uint32_t key; // 0: a character message on its own
        WParam character;
        WParam expected_key;
        LParam expected_character;
    };
    const Case cases[] = {
        { "left arrow", vk::left, 0, vk::left, 0 },
        { "the letter a", 'A', 0, 'A', 'a' },
        { "enter makes a control character", vk::enter, 0, vk::enter, 0 },
        { "a character alone", 0, u'x', u'x', u'x' },
        { "a control character alone", 0, 7, 7, 0 },
    };
    watched = { msg::user_key };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        log.clear();
        set_focus(outer);
        if (c.key)
            screen->key(c.key);
        else
            screen->call([&] { post_message(outer, msg::character, c.character); });
        post_later(outer, msg::form_close);
        skinner::run_message_loop(outer);
        ASSERT_EQ(log.size(), 1u);
        EXPECT_EQ(log[0].window, outer);
        EXPECT_EQ(log[0].wparam, c.expected_key);
        EXPECT_EQ(log[0].lparam, c.expected_character);
    }
    EXPECT_FALSE(screen->stalled());
}

TEST_F(MessageLoops, TheCloseMessageOfAnInnerWindowEndsOnlyTheInnerLoop)
{
    post_later(outer, start_inner);
    post_later(inner, msg::form_close);
    post_later(outer, marker);
    post_later(outer, msg::form_close);
    skinner::run_message_loop(outer);
    EXPECT_EQ(events, (std::vector<std::string> { "inner starts", "inner ended", "marker" }));
    EXPECT_FALSE(screen->stalled());
}

TEST_F(MessageLoops, TheCloseMessageOfAnOuterWindowWaitsForItsOwnLoop)
{
    post_later(outer, start_inner);
    post_later(outer, msg::form_close); // taken by the inner loop, which goes on
    post_later(outer, marker);
    post_later(inner, msg::form_close);
    skinner::run_message_loop(outer);
    // The outer loop ends as soon as the inner one returns, without another message.
    EXPECT_EQ(events, (std::vector<std::string> { "inner starts", "marker", "inner ended" }));
    EXPECT_FALSE(screen->stalled());
    EXPECT_TRUE(screen->script_done());
}

TEST_F(MessageLoops, AnOuterWindowAskedToCloseClosesTheInnerOneFirst)
{
    post_later(outer, start_inner);
    post_later(outer, msg::close);
    skinner::run_message_loop(outer);
    EXPECT_EQ(events, (std::vector<std::string> { "inner starts", "close inner", "inner ended", "close outer" }));
    EXPECT_FALSE(screen->stalled());
}

TEST_F(MessageLoops, TheInnermostWindowClosesOnlyItself)
{
    post_later(outer, start_inner);
    post_later(inner, msg::close);
    post_later(outer, marker);
    post_later(outer, msg::form_close);
    skinner::run_message_loop(outer);
    EXPECT_EQ(events, (std::vector<std::string> { "inner starts", "close inner", "inner ended", "marker" }));
    EXPECT_FALSE(screen->stalled());
}

TEST_F(MessageLoops, PendingMessagesStopAtACloseWhichStillEndsItsLoop)
{
    screen->call([this] {
        post_message(outer, pump);
        post_message(outer, msg::form_close);
        post_message(outer, marker);
    });
    skinner::run_message_loop(outer);
    EXPECT_EQ(events, (std::vector<std::string> { "pumped" }));
    Message left;
    EXPECT_TRUE(peek_message(left, outer, marker, marker, Peek::keep)) << "what came after the close stays queued";
}

TEST_F(MessageLoops, AQuitEndsEveryLoopAndStaysForTheCaller)
{
    post_later(outer, start_inner);
    screen->call([] { post_quit_message(3); });
    skinner::run_message_loop(outer);
    EXPECT_EQ(events, (std::vector<std::string> { "inner starts", "inner ended" }));
    Message quit;
    ASSERT_TRUE(peek_message(quit));
    EXPECT_EQ(quit.message, msg::quit);
    EXPECT_EQ(quit.wparam, 3u);
    EXPECT_FALSE(screen->stalled());
}

TEST_F(MessageLoops, ALoopEndsWhenItsWindowIsGone)
{
    post_later(outer, start_inner);
    screen->call([this] { destroy_window(inner); });
    post_later(outer, msg::form_close);
    skinner::run_message_loop(outer);
    EXPECT_EQ(events, (std::vector<std::string> { "inner starts", "inner ended" }));
    EXPECT_FALSE(screen->stalled());
}

}
