#include "tests/platform/ui/UiTest.h"

#include "platform/ui/Zoom.h"

#include <utility>

using namespace platform;
using test::blue;
using test::green;
using test::red;
using test::yellow;

namespace {

class WindowManager : public test::UiTest { };

std::vector<std::string> names(const std::vector<test::Logged>& log, const std::map<Window, std::string>& who)
{
    std::vector<std::string> out;
    for (auto& l : log)
        out.push_back(who.at(l.window) + ":" + std::to_string(l.id) + ":" + std::to_string(l.wparam));
    return out;
}

TEST_F(WindowManager, OverlappingTopLevelWindowsClipEachOther)
{
    Window below = make_window({ 0, 30, 100, 130 }, ws::visible, red);
    Window above = make_window({ 50, 80, 150, 180 }, ws::visible, blue);
    screen->run_until_idle();
    EXPECT_EQ(shown({ 10, 40 }), red);
    EXPECT_EQ(shown({ 75, 100 }), blue);
    EXPECT_EQ(shown({ 140, 170 }), blue);

    // Painting the lower window again never reaches into the upper one.
    invalidate_rect(below);
    colors[below] = green;
    screen->run_until_idle();
    EXPECT_EQ(shown({ 10, 40 }), green);
    EXPECT_EQ(shown({ 75, 100 }), blue);
    EXPECT_EQ(painted[below].back(), ([] {
        Region r(Rect { 0, 0, 100, 100 });
        r.subtract(Rect { 50, 50, 100, 100 });
        return r;
    }()));
    EXPECT_EQ(window_from_point({ 75, 100 }), above);
    EXPECT_EQ(window_from_point({ 10, 40 }), below);
}

TEST_F(WindowManager, TitleBarCoversWindowsAndShowsTheForegroundTitle)
{
    Window w = make_window({ 0, 0, 240, 320 }, ws::visible, green);
    set_window_text(w, u"Title");
    screen->run_until_idle();
    ColorRef bar = shown({ 200, 5 });
    EXPECT_NE(bar, green);
    EXPECT_EQ(shown({ 200, 40 }), green);
    // Some ink of the title, in the bar's left part.
    bool ink = false;
    for (int x = 0; x < 60; ++x)
        ink = ink || shown({ x, 13 }) != bar;
    EXPECT_TRUE(ink);

    set_full_screen(w, shfs::hide_task_bar);
    screen->run_until_idle();
    EXPECT_EQ(shown({ 200, 5 }), green);
    EXPECT_EQ(work_area(), (Rect { 0, 0, 240, 320 }));
    set_full_screen(w, shfs::show_task_bar);
    screen->run_until_idle();
    EXPECT_EQ(shown({ 200, 5 }), bar);
}

TEST_F(WindowManager, ClipChildrenKeepsTheParentOffItsChildren)
{
    struct Case {
        std::uint32_t parent_style;
        bool child_repainted;
        ColorRef child_pixel;
    };
    for (auto c : { Case { ws::visible | ws::clip_children, false, yellow }, Case { ws::visible, true, yellow } }) {
        SCOPED_TRACE(c.parent_style);
        Window parent = make_window({ 0, 30, 200, 230 }, c.parent_style, green);
        Window child = make_window({ 10, 10, 60, 60 }, ws::visible | ws::child, yellow, parent);
        screen->run_until_idle();
        EXPECT_EQ(shown({ 20, 50 }), yellow);
        EXPECT_EQ(window_rect(child), (Rect { 10, 40, 60, 90 }));
        painted.clear();
        invalidate_rect(parent);
        screen->run_until_idle();
        EXPECT_EQ(painted.contains(child), c.child_repainted);
        EXPECT_EQ(shown({ 20, 50 }), c.child_pixel);
        EXPECT_EQ(shown({ 100, 150 }), green);
        destroy_window(parent);
        EXPECT_FALSE(is_window(child));
    }
}

TEST_F(WindowManager, HidingRepaintsExactlyWhatWasUncovered)
{
    Window below = make_window({ 0, 30, 200, 230 }, ws::visible, green);
    Window above = make_window({ 40, 60, 90, 110 }, ws::visible, red);
    screen->run_until_idle();
    painted.clear();
    EXPECT_TRUE(show_window(above, sw::hide));
    EXPECT_EQ(update_region(below), Region(Rect { 40, 30, 90, 80 }));
    screen->run_until_idle();
    ASSERT_EQ(painted[below].size(), 1u);
    EXPECT_EQ(painted[below][0], Region(Rect { 40, 30, 90, 80 }));
    EXPECT_FALSE(painted.contains(above));
    EXPECT_EQ(shown({ 50, 70 }), green);

    // Moving uncovers the old place and repaints the window at the new one.
    show_window(above, sw::show);
    screen->run_until_idle();
    painted.clear();
    move_window(above, { 100, 60, 150, 110 });
    EXPECT_EQ(update_region(below), Region(Rect { 40, 30, 90, 80 }));
    screen->run_until_idle();
    EXPECT_EQ(shown({ 50, 70 }), green);
    EXPECT_EQ(shown({ 110, 70 }), red);

    // What no window covers any more is the desktop's again.
    destroy_window(below);
    screen->run_until_idle();
    EXPECT_NE(shown({ 10, 40 }), green);
}

TEST_F(WindowManager, TwoInvalidationsGiveOnePaintOfTheirUnion)
{
    Window w = make_window({ 0, 30, 200, 230 }, ws::visible, green);
    screen->run_until_idle();
    painted.clear();
    invalidate_rect(w, Rect { 0, 0, 10, 10 });
    invalidate_rect(w, Rect { 50, 50, 60, 60 });
    screen->run_until_idle();
    ASSERT_EQ(painted[w].size(), 1u);
    Region expected(Rect { 0, 0, 10, 10 });
    expected.add(Rect { 50, 50, 60, 60 });
    EXPECT_EQ(painted[w][0], expected);
}

TEST_F(WindowManager, PaintComesAfterPostedMessagesAndBeforeTimers)
{
    watched = { msg::paint, msg::timer, msg::user };
    Window w = make_window({ 0, 30, 100, 130 }, ws::visible, green);
    set_timer(w, 7, 10);
    clock->advance(20);
    post_message(w, msg::user);
    screen->run_until_idle();
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log[0].id, msg::user);
    EXPECT_EQ(log[1].id, msg::paint);
    EXPECT_EQ(log[2].id, msg::timer);
    kill_timer(w, 7);
}

TEST_F(WindowManager, ActivationFocusAndCaptureNotifyInOrder)
{
    watched = { msg::activate, msg::set_focus, msg::kill_focus, msg::capture_changed, msg::destroy };
    Window a = make_window({ 0, 30, 100, 130 }, ws::visible, green);
    EXPECT_EQ(active_window(), a);
    EXPECT_EQ(focus_window(), a);
    log.clear();
    Window b = make_window({ 50, 80, 150, 180 }, ws::popup, blue, a);
    show_window(b, sw::show);
    std::map<Window, std::string> who { { a, "a" }, { b, "b" } };
    EXPECT_EQ(names(log, who), (std::vector<std::string> { "a:6:0", "b:6:1", "a:8:" + std::to_string(WParam(b)), "b:7:" + std::to_string(WParam(a)) }));
    EXPECT_EQ(foreground_window(), b);

    log.clear();
    set_capture(a);
    set_capture(b);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].window, a);
    EXPECT_EQ(log[0].id, msg::capture_changed);
    EXPECT_EQ(log[0].lparam, LParam(b));

    // Destroyed while holding capture, focus and activation: it gives them up first.
    log.clear();
    destroy_window(b);
    EXPECT_EQ(names(log, who), (std::vector<std::string> { "b:533:0", "b:8:0", "b:6:0", "a:6:1", "a:7:0", "b:2:0" }));
    EXPECT_EQ(active_window(), a);
    EXPECT_EQ(focus_window(), a);
    EXPECT_EQ(capture_window(), no_window);
}

TEST_F(WindowManager, RaisingAnOwnerKeepsItsOwnedWindowsAbove)
{
    Window owner = make_window({ 0, 30, 100, 130 }, ws::visible, green);
    Window other = make_window({ 0, 30, 100, 130 }, ws::visible, red);
    Window owned = make_window({ 10, 40, 50, 80 }, ws::visible | ws::popup, blue, owner);
    set_foreground_window(other);
    EXPECT_EQ(top_level_windows_by_z_order().front(), other);
    set_foreground_window(owner);
    auto order = top_level_windows_by_z_order();
    ASSERT_GE(order.size(), 3u);
    EXPECT_EQ(order[0], owned);
    EXPECT_EQ(order[1], owner);
    screen->run_until_idle();
    EXPECT_EQ(shown({ 20, 50 }), blue);
    EXPECT_EQ(shown({ 90, 120 }), green);
}

TEST_F(WindowManager, ResizeSendsSizeAndMessagesOfDestroyedWindowsAreDropped)
{
    watched = { msg::size, msg::user };
    Window w = make_window({ 0, 30, 100, 130 }, ws::visible, green);
    move_window(w, { 0, 30, 120, 100 });
    move_window(w, { 10, 40, 130, 110 }); // same size: no message
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].lparam, LParam(120 | 70 << 16));
    EXPECT_EQ(client_rect(w), (Rect { 0, 0, 120, 70 }));
    EXPECT_EQ(client_to_screen(w, { 1, 2 }), (Point { 11, 42 }));

    log.clear();
    post_message(w, msg::user);
    destroy_window(w);
    screen->run_until_idle();
    EXPECT_TRUE(log.empty());
}

TEST_F(WindowManager, DisabledWindowsLoseTheFocusAndTakeNoInput)
{
    watched = { msg::left_button_down };
    Window w = make_window({ 0, 30, 100, 130 }, ws::visible, green);
    EXPECT_EQ(focus_window(), w);
    EXPECT_FALSE(enable_window(w, false));
    EXPECT_EQ(focus_window(), no_window);
    screen->tap({ 10, 40 });
    screen->run_until_idle();
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(enable_window(w, true));
    screen->tap({ 10, 40 });
    screen->run_until_idle();
    EXPECT_EQ(log.size(), 1u);
}

TEST_F(WindowManager, SetParentToNoneFloatsAChildAtTheSameNumbers)
{
    Window owner = make_window({ 0, 30, 200, 230 }, ws::visible, green);
    Window drop = make_window({ 20, 100, 80, 140 }, ws::child, red, owner, u"STATIC");
    EXPECT_EQ(window_rect(drop), (Rect { 20, 130, 80, 170 }));
    EXPECT_EQ(set_parent(drop, no_window), owner);
    EXPECT_EQ(window_rect(drop), (Rect { 20, 100, 80, 140 }));
    show_window(drop, sw::show_normal);
    screen->run_until_idle();
    EXPECT_EQ(shown({ 30, 110 }), red);
    EXPECT_EQ(top_level_windows_by_z_order().front(), drop);
    // It floats above the forms without taking the activation from its owner.
    EXPECT_EQ(active_window(), owner);
}

TEST_F(WindowManager, OkButtonInTheTitleBarSendsIdOk)
{
    watched = { msg::command };
    Window w = make_window({ 0, 26, 240, 294 }, ws::visible, green);
    show_ok_button(w, true);
    screen->run_until_idle();
    screen->tap({ 230, 13 }).tap({ 100, 13 });
    screen->run_until_idle();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].wparam, id_ok);
}

TEST_F(WindowManager, DisplayOffShowsBlackAndInputStillArrives)
{
    watched = { msg::left_button_down };
    make_window({ 0, 30, 100, 130 }, ws::visible, green);
    screen->run_until_idle();
    set_display_on(false);
    screen->tap({ 10, 40 });
    screen->run_until_idle();
    EXPECT_EQ(shown({ 10, 40 }), rgb(0, 0, 0));
    EXPECT_EQ(log.size(), 1u);
    set_display_on(true);
    screen->run_until_idle();
    EXPECT_EQ(shown({ 10, 40 }), green);
}

TEST(ScreenMode, ParsesSizesAndDefaultsTheDpi)
{
    struct Case {
        const char* text;
        std::optional<ScreenMode> mode;
    };
    const Case cases[] = {
        { "240x320", ScreenMode { { 240, 320 }, 96 } },
        { "480x640", ScreenMode { { 480, 640 }, 192 } },
        { "640x480", ScreenMode { { 640, 480 }, 192 } },
        { "320x240@131", ScreenMode { { 320, 240 }, 131 } },
        { "", std::nullopt },
        { "240", std::nullopt },
        { "240x", std::nullopt },
        { "10x10", std::nullopt },
        { "99999x320", std::nullopt },
        { "240x320@", std::nullopt },
        { "240x320@5000", std::nullopt },
        { "-240x320", std::nullopt },
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(parse_screen_mode(c.text), c.mode);
    }
}

TEST(Zoom, IsAWholeFactorFromOneToEightAndNothingElse)
{
    const std::pair<const char*, std::optional<int>> cases[] = {
        { "1", 1 }, { "3", 3 }, { "8", 8 }, { "008", 8 }, { "0", std::nullopt }, { "9", std::nullopt },
        { "", std::nullopt }, { "2x", std::nullopt }, { " 2", std::nullopt }, { "-2", std::nullopt },
        { "99999999999999999999", std::nullopt }, // too large for an int: no wrap to a "valid" factor
    };
    for (const auto& [text, zoom] : cases)
        EXPECT_EQ(parse_zoom(text), zoom) << text;
}

class LargeScreen : public test::UiTest {
protected:
    LargeScreen()
        : UiTest({ { 480, 640 }, 192 })
    {
    }
};

TEST_F(LargeScreen, BarsScaleWithTheDpiAndTheWorkAreaLiesBetween)
{
    EXPECT_EQ(bar_height(), 52);
    EXPECT_EQ(work_area(), (Rect { 0, 52, 480, 588 }));
    DeviceContext dc = DeviceContext::for_screen();
    EXPECT_EQ(dc.device_caps(caps::horizontal_resolution), 480);
    EXPECT_EQ(dc.device_caps(caps::vertical_resolution), 640);
    EXPECT_EQ(dc.device_caps(caps::logical_pixels_y), 192);
    // A top-level window made with the default placement fills the work area.
    WindowParams params;
    params.class_name = u"UiPlainWindow";
    Window w = create_window(params);
    EXPECT_EQ(window_rect(w), work_area());
    destroy_window(w);
}

}
