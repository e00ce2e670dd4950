#include "platform/ui/Shell.h"

#include "platform/ui/DisplayEscape.h"
#include "platform/ui/HotKeys.h"
#include "platform/ui/Input.h"
#include "tests/platform/ui/UiTest.h"

#include <array>

using namespace platform;

namespace {

class Shell : public test::UiTest { };

TEST_F(Shell, TheDisplaySwitchesOffAndOnThroughTheEscapes)
{
    Window w = make_window({ 0, 26, 240, 268 }, ws::visible, test::green);
    screen->run_until_idle();
    DeviceContext dc = DeviceContext::for_screen();
    ASSERT_TRUE(escape_supported(dc, escape::set_power_management));
    EXPECT_FALSE(escape_supported(dc, 0x1234));
    EXPECT_EQ(get_video_power(dc)->power_state, video_power::on);

    ASSERT_TRUE(set_video_power(dc, { 12, 1, video_power::off }));
    screen->run_until_idle();
    EXPECT_EQ(shown({ 100, 100 }), rgb(0, 0, 0));
    EXPECT_EQ(get_video_power(dc)->power_state, video_power::off);
    // Drawing goes on while it is off, and shows once it is on.
    colors[w] = test::blue;
    invalidate_rect(w);
    screen->run_until_idle();
    EXPECT_EQ(shown({ 100, 100 }), rgb(0, 0, 0));
    ASSERT_TRUE(set_video_power(DeviceContext::for_window(w), {}));
    screen->run_until_idle();
    EXPECT_EQ(shown({ 100, 100 }), test::blue);
}

TEST_F(Shell, EscapesRefuseWhatDoesNotFit)
{
    DeviceContext screen_dc = DeviceContext::for_screen();
    std::array<std::uint8_t, 12> wrong_length { 11, 0, 0, 0, 1, 0, 0, 0, 4, 0, 0, 0 };
    std::array<std::uint8_t, 12> unknown_state { 12, 0, 0, 0, 1, 0, 0, 0, 9, 0, 0, 0 };
    std::array<std::uint8_t, 4> short_output {};
    EXPECT_LT(ext_escape(screen_dc, escape::set_power_management, wrong_length, {}), 0);
    EXPECT_LT(ext_escape(screen_dc, escape::set_power_management, unknown_state, {}), 0);
    EXPECT_LT(ext_escape(screen_dc, escape::set_power_management, std::span(wrong_length).first(8), {}), 0);
    EXPECT_LT(ext_escape(screen_dc, escape::get_power_management, {}, short_output), 0);
    EXPECT_LT(ext_escape(screen_dc, escape::query_support, {}, {}), 0);
    EXPECT_EQ(ext_escape(screen_dc, 77, {}, {}), 0);
    EXPECT_TRUE(is_display_on());
    // A memory context has no display driver.
    DeviceContext memory = DeviceContext::memory();
    EXPECT_FALSE(escape_supported(memory, escape::set_power_management));
    EXPECT_FALSE(set_video_power(memory, { 12, 1, video_power::off }));
    EXPECT_TRUE(is_display_on());
}

TEST_F(Shell, TheInputPanelStaysLowered)
{
    set_input_panel_preference(true);
    InputPanelInfo info = input_panel_info();
    EXPECT_EQ(info.flags & sipf::on, 0u);
    EXPECT_TRUE(info.input_area.empty());
    EXPECT_EQ(info.visible_desktop, (Rect { 0, 26, 240, 320 }));
    set_input_panel_preference(false);
}

TEST_F(Shell, BackGoesToTheEditBoxOrLeavesTheProgram)
{
    watched = { msg::key_down, msg::character, msg::key_up, msg::activate };
    Window form = make_window({ 0, 26, 240, 268 }, ws::visible, test::green);
    set_focus(no_window);
    EXPECT_FALSE(send_back_to_focus_window(msg::hot_key, vk::escape, LParam(vk::escape << 16)));
    Window edit = make_window({ 10, 10, 100, 30 }, ws::visible | ws::child, test::yellow, form);
    set_focus(edit);
    screen->run_until_idle();
    log.clear();
    EXPECT_TRUE(send_back_to_focus_window(msg::hot_key, vk::escape, LParam(vk::escape << 16)));
    EXPECT_TRUE(send_back_to_focus_window(msg::hot_key, vk::escape, LParam(mod::key_up | vk::escape << 16)));
    screen->run_until_idle();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].id, msg::key_down);
    EXPECT_EQ(log[0].wparam, vk::back);
    EXPECT_EQ(log[1].id, msg::character);
    EXPECT_EQ(log[1].wparam, 8u);
    EXPECT_EQ(log[2].id, msg::key_up);

    log.clear();
    navigate_back();
    EXPECT_EQ(active_window(), no_window);
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log[0].id, msg::activate);
    EXPECT_EQ(log[0].wparam, wa::inactive);
}

TEST_F(Shell, TheBroadcastReachesEveryTopLevelWindow)
{
    watched = { msg::setting_change };
    Window a = make_window({ 0, 26, 100, 100 }, ws::visible, test::green);
    Window b = make_window({ 0, 26, 100, 100 }, 0, test::green);
    make_window({ 0, 0, 10, 10 }, ws::visible | ws::child, test::red, a);
    EXPECT_TRUE(post_broadcast_message(msg::setting_change, today_reload, 0));
    screen->run_until_idle();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].window, a);
    EXPECT_EQ(log[1].window, b);
    EXPECT_EQ(log[0].wparam, today_reload);
}

}
