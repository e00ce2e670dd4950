#include "skinner/core/ControlSubclass.h"

#include "tests/platform/ui/UiTest.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace platform;

namespace {

constexpr MessageId probe = msg::user + 100;

// A hook that writes its name into a shared log and may take messages over
// or run an action from inside its turn.
class Hook final : public skinner::ControlSubclass {
public:
    Hook(std::string name, std::vector<std::string>& log)
        : m_name(std::move(name))
        , m_log(log)
    {
    }

    LResult window_proc(MessageId id, WParam, LParam, MessageContext& context) override
    {
        if (id != probe && id != msg::paint && id != msg::destroy)
            return 0;
        m_log.push_back(m_name);
        if (on_message)
            on_message(id);
        if (takes == id) {
            context.pass_on = false;
            return result;
        }
        return 0;
    }

    std::function<void(MessageId)> on_message;
    MessageId takes = 0;
    LResult result = 0;

private:
    std::string m_name;
    std::vector<std::string>& m_log;
};

class Subclassing : public test::UiTest {
protected:
    void SetUp() override { window = make_window({ 0, 26, 100, 100 }, ws::visible, test::green); }

    LResult procedure(Window w, MessageId id, WParam wp, LParam lp) override
    {
        if (id == probe || id == msg::paint)
            order.push_back("window");
        return id == probe ? 7 : UiTest::procedure(w, id, wp, lp);
    }

    std::vector<std::string> order;
    Window window {};
};

TEST_F(Subclassing, EveryHookSeesTheMessageLastHookedFirstThenTheWindowOnce)
{
    Hook first("first", order), second("second", order);
    EXPECT_EQ(first.subclass(window), 0u);
    EXPECT_EQ(second.subclass(window), 1u);
    EXPECT_EQ(send_message(window, probe), 7);
    EXPECT_EQ(order, (std::vector<std::string> { "second", "first", "window" }));
}

TEST_F(Subclassing, AMessageTakenOverSkipsTheWindowAndTheFirstHookedTakerDecides)
{
    Hook first("first", order), second("second", order);
    first.subclass(window);
    second.subclass(window);
    first.takes = second.takes = probe;
    first.result = 11;
    second.result = 22;
    EXPECT_EQ(send_message(window, probe), 11);
    EXPECT_EQ(order, (std::vector<std::string> { "second", "first" }));

    // A paint taken over never reaches the window's own painting.
    order.clear();
    painted.clear();
    // (The taker validates, as a paint handler must, or the paint comes again.)
    second.takes = msg::paint;
    second.on_message = [this](MessageId id) {
        if (id == msg::paint)
            validate_rect(window);
    };
    invalidate_rect(window);
    screen->run_until_idle();
    EXPECT_EQ(order, (std::vector<std::string> { "second", "first" }));
    EXPECT_TRUE(painted[window].empty());
}

TEST_F(Subclassing, TheLastHookToLeavePutsTheProcedureBackAndAnewHookTakesTheNewOne)
{
    Hook hook("hook", order);
    hook.subclass(window);
    hook.unsubclass();
    EXPECT_EQ(hook.window(), no_window);
    send_message(window, probe);
    EXPECT_EQ(order, (std::vector<std::string> { "window" }));

    // The window gets another procedure while unhooked: hooking again chains to that one.
    order.clear();
    set_window_procedure(window, [this](Window, MessageId id, WParam, LParam) -> LResult {
        if (id == probe)
            order.push_back("replacement");
        return 0;
    });
    hook.subclass(window);
    send_message(window, probe);
    EXPECT_EQ(order, (std::vector<std::string> { "hook", "replacement" }));
}

TEST_F(Subclassing, DestroyUnhooksEveryHookAndTheWindowIsForgotten)
{
    auto first = std::make_unique<Hook>("first", order);
    Hook second("second", order);
    first->subclass(window);
    second.subclass(window);
    destroy_window(window);
    EXPECT_EQ(first->window(), no_window);
    EXPECT_EQ(second.window(), no_window);
    EXPECT_EQ(order, (std::vector<std::string> { "second", "first" }));
    first.reset(); // leaving again is harmless

    // A gone window cannot be hooked.
    EXPECT_EQ(second.subclass(window), std::nullopt);
    EXPECT_EQ(second.window(), no_window);
}

TEST_F(Subclassing, HookingAnotherWindowLeavesTheFirst)
{
    Window other = make_window({ 0, 120, 100, 200 }, ws::visible, test::blue);
    Hook hook("hook", order);
    hook.subclass(window);
    hook.subclass(other);
    send_message(window, probe);
    EXPECT_EQ(order, (std::vector<std::string> { "window" }));
}

// A hook may unhook itself, or delete another, from inside its turn, also
// during the destroy message; the rest of the dispatch must not touch what left.
TEST_F(Subclassing, AHookThatRemovesHooksFromInsideItsTurn)
{
    struct Case {
        const char* name;
        MessageId message;
        bool deletes_other; // else unhooks itself
        std::vector<std::string> heard;
    };
    const Case cases[] = {
        { "itself", probe, false, { "late", "early", "window" } },
        { "the earlier hook", probe, true, { "late", "window" } },
        { "itself at destroy", msg::destroy, false, { "late", "early" } },
        { "the earlier hook at destroy", msg::destroy, true, { "late" } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Window w = make_window({ 0, 26, 50, 50 }, ws::visible, test::red);
        order.clear();
        auto early = std::make_unique<Hook>("early", order);
        Hook late("late", order);
        early->subclass(w);
        late.subclass(w);
        late.on_message = [&](MessageId) {
            if (c.deletes_other)
                early.reset();
            else
                late.unsubclass();
        };
        if (c.message == probe)
            send_message(w, probe);
        else
            destroy_window(w);
        EXPECT_EQ(order, c.heard);
        EXPECT_EQ(late.window(), c.message == probe && c.deletes_other ? w : no_window);
        if (is_window(w)) {
            // Once all have left, the window's own procedure is back.
            late.unsubclass();
            early.reset();
            order.clear();
            send_message(w, probe);
            EXPECT_EQ(order, (std::vector<std::string> { "window" }));
        }
    }
}

}
