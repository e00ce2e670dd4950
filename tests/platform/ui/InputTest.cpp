#include "platform/ui/Input.h"

#include "tests/platform/ui/UiTest.h"

using namespace platform;
using test::green;

namespace {

class Input : public test::UiTest {
protected:
    Input() { watched = { msg::left_button_down, msg::left_button_up, msg::left_button_double_click, msg::mouse_move }; }

    // Recognition runs from the press, as the form window does it.
    LResult procedure(Window w, MessageId id, WParam wp, LParam lp) override
    {
        if (id == msg::left_button_down && recognize)
            gestures.push_back(recognize_tap_and_hold(w, point_of(lp)));
        if (id == msg::key_down || id == msg::character)
            keys.push_back(std::to_string(id) + ":" + std::to_string(wp));
        if (id == msg::ime_composition && (lp & gcs_result_string))
            texts.push_back(input_method_result(w));
        return UiTest::procedure(w, id, wp, lp);
    }

    std::vector<MessageId> ids() const
    {
        std::vector<MessageId> out;
        for (auto& l : log)
            out.push_back(l.id);
        return out;
    }

    bool recognize = false;
    std::vector<std::uint32_t> gestures;
    std::vector<std::string> keys;
    std::vector<std::u16string> texts;
};

TEST_F(Input, PenMessagesCarryClientCoordinates)
{
    Window w = make_window({ 20, 40, 120, 140 }, ws::visible, green);
    screen->pen_down({ 25, 50 }).pen_move({ 30, 60 }).pen_up({ 35, 70 });
    screen->run_until_idle();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(point_of(log[0].lparam), (Point { 5, 10 }));
    EXPECT_EQ(log[0].wparam, 1u);
    EXPECT_EQ(point_of(log[1].lparam), (Point { 10, 20 }));
    EXPECT_EQ(point_of(log[2].lparam), (Point { 15, 30 }));
    EXPECT_EQ(log[2].wparam, 0u);

    // With the capture, the pen outside the window still reaches it, in its coordinates.
    log.clear();
    set_capture(w);
    screen->tap({ 5, 30 });
    screen->run_until_idle();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].window, w);
    EXPECT_EQ(point_of(log[0].lparam), (Point { -15, -10 }));
}

TEST_F(Input, APressActivatesItsTopLevelWindowAsAClick)
{
    watched = { msg::activate, msg::left_button_down };
    Window back = make_window({ 0, 30, 100, 130 }, ws::visible, green);
    Window front = make_window({ 120, 30, 220, 130 }, ws::visible, green);
    log.clear();
    screen->tap({ 10, 40 });
    screen->run_until_idle();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].window, front);
    EXPECT_EQ(log[0].wparam, wa::inactive);
    EXPECT_EQ(log[1].window, back);
    EXPECT_EQ(log[1].wparam, wa::click_active);
    EXPECT_EQ(log[2].id, msg::left_button_down);
}

TEST_F(Input, SecondTapWithin500MsAnd4PixelsIsADoubleTap)
{
    struct Case {
        std::uint32_t after_ms;
        Point second;
        bool is_double;
        const char16_t* class_name;
    };
    const Case cases[] = {
        { 100, { 50, 80 }, true, u"UiTestWindow" },
        { 499, { 54, 84 }, true, u"UiTestWindow" },
        { 500, { 50, 80 }, false, u"UiTestWindow" },
        { 100, { 55, 80 }, false, u"UiTestWindow" },
        { 100, { 50, 75 }, false, u"UiTestWindow" },
        { 100, { 50, 80 }, false, u"UiPlainWindow" }, // the class takes no double clicks
    };
    for (auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.after_ms << " " << c.second.x << "," << c.second.y);
        Window w = make_window({ 0, 30, 200, 230 }, ws::visible, green, {}, c.class_name);
        log.clear();
        screen->tap({ 50, 80 }, 1000).tap(c.second, c.after_ms).tap(c.second, 50);
        screen->run_until_idle();
        bool plain = std::u16string_view(c.class_name) == u"UiPlainWindow";
        auto second = c.is_double ? msg::left_button_double_click : msg::left_button_down;
        // A third quick tap starts a new pair.
        auto third = c.is_double || plain ? msg::left_button_down : msg::left_button_double_click;
        EXPECT_EQ(ids(), (std::vector<MessageId> { msg::left_button_down, msg::left_button_up, second,
                              msg::left_button_up, third, msg::left_button_up }));
        destroy_window(w);
    }
}

TEST_F(Input, TapAndHoldOnTheFakeClock)
{
    recognize = true;
    make_window({ 0, 30, 200, 230 }, ws::visible, green);
    struct Case {
        const char* name;
        std::function<void(headless::HeadlessDisplay&)> script;
        std::uint32_t gesture;
        std::vector<MessageId> delivered;
    };
    const Case cases[] = {
        { "held still", [](auto& s) { s.pen_down({ 50, 80 }).pen_move({ 53, 84 }, 200).pen_up({ 53, 84 }, 600); },
            gesture_context_menu, { msg::left_button_down } },
        { "released early", [](auto& s) { s.pen_down({ 50, 80 }).pen_up({ 50, 80 }, 300); }, 0,
            { msg::left_button_down, msg::left_button_up } },
        { "moved away", [](auto& s) { s.pen_down({ 50, 80 }).pen_move({ 56, 80 }, 100).pen_up({ 56, 80 }, 700); }, 0,
            { msg::left_button_down, msg::mouse_move, msg::left_button_up } },
        { "second button", [](auto& s) { s.hold_down({ 50, 80 }).hold_up({ 50, 80 }, 20); }, gesture_context_menu,
            { msg::left_button_down } },
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        log.clear();
        gestures.clear();
        screen->pause(1000); // no double tap with the case before
        screen->run_until_idle();
        std::uint32_t start = clock->tick_count();
        c.script(*screen);
        screen->run_until_idle();
        ASSERT_EQ(gestures.size(), 1u);
        EXPECT_EQ(gestures[0], c.gesture);
        EXPECT_EQ(ids(), c.delivered);
        if (c.gesture == gesture_context_menu && std::string(c.name) == "held still")
            EXPECT_GE(clock->tick_count() - start, hold_ms);
        EXPECT_FALSE(screen->stalled());
    }
    // Without recognition the second button is a plain tap.
    recognize = false;
    log.clear();
    screen->hold_down({ 50, 80 }).hold_up({ 50, 80 }, 20);
    screen->run_until_idle();
    EXPECT_EQ(ids(), (std::vector<MessageId> { msg::left_button_down, msg::left_button_up }));
}

TEST_F(Input, KeysTranslateToCharacters)
{
    make_window({ 0, 30, 200, 230 }, ws::visible, green);
    struct Case {
        std::vector<std::uint32_t> held;
        std::uint32_t key;
        int character; // 0: none
    };
    const Case cases[] = {
        { {}, 'A', 'a' },
        { { vk::shift }, 'A', 'A' },
        { {}, '1', '1' },
        { { vk::shift }, '1', '!' },
        { { vk::control }, 'C', 3 },
        { {}, vk::enter, 13 },
        { {}, vk::space, ' ' },
        { { vk::shift }, vk::oem_2, '?' },
        { {}, vk::left, 0 },
        { {}, vk::application_1, 0 },
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.key);
        keys.clear();
        for (auto k : c.held)
            screen->key_down(k);
        screen->key(c.key);
        for (auto k : c.held)
            screen->key_up(k);
        screen->run_until_idle();
        std::vector<std::string> expected;
        for (auto k : c.held)
            expected.push_back("256:" + std::to_string(k));
        expected.push_back("256:" + std::to_string(c.key));
        if (c.character)
            expected.push_back("258:" + std::to_string(c.character));
        EXPECT_EQ(keys, expected);
    }
    EXPECT_FALSE(is_key_down(vk::shift));
}

TEST_F(Input, TextArrivesAsInputMethodResults)
{
    make_window({ 0, 30, 200, 230 }, ws::visible, green);
    screen->text(u"\u00e9t\u00e9").text(u"\u65e5\u672c");
    screen->run_until_idle();
    EXPECT_EQ(texts, (std::vector<std::u16string> { u"\u00e9t\u00e9", u"\u65e5\u672c" }));
}

TEST_F(Input, ALoopWaitingForInputThatNeverComesIsStopped)
{
    make_window({ 0, 30, 200, 230 }, ws::visible, green);
    screen->call([] {
        Message m;
        while (get_message(m))
            dispatch_message(m);
    });
    screen->run_until_idle();
    EXPECT_TRUE(screen->stalled());
}

}
