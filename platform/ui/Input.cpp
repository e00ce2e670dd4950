#include "platform/ui/Input.h"

#include "platform/core/Clock.h"
#include "platform/core/MessageQueue.h"
#include "platform/ui/detail/Shell.h"
#include "platform/ui/detail/WindowTree.h"
#include "platform/ui/Menu.h"
#include "platform/ui/Screen.h"
#include "platform/ui/WindowManager.h"

#include <algorithm>
#include <array>
#include <deque>
#include <map>

namespace platform {

namespace detail {
bool post_message_first(Window, MessageId, WParam, LParam);
}

namespace {

struct InputState {
    std::array<bool, 256> keys {};
    bool pen_is_down = false;
    bool ok_pressed = false;
    bool hold_pending = false;
    bool swallow_pen = false;
    Window last_press {};
    Point last_point;
    std::uint32_t last_tick = 0;
    bool last_was_double = true;
    std::map<Window, std::deque<std::u16string>> ime;
};

InputState& input()
{
    static InputState s;
    return s;
}

bool accepts_input(Window w)
{
    Window top = top_level_ancestor(w);
    return w != no_window && is_window_enabled(w) && is_window_enabled(top);
}

// The window a pen message goes to: the capture holder, else the window under the pen.
Window pen_target(Point p)
{
    Window capture = capture_window();
    if (capture != no_window)
        return capture;
    Window w = window_from_point(p);
    return accepts_input(w) ? w : no_window;
}

bool double_clicks(Window w)
{
    std::lock_guard lock(detail::state().mutex);
    auto* r = detail::find_record(detail::state(), w);
    return r && (r->window_class->style & cs::double_clicks);
}

void post_pen(Window w, MessageId id, WParam keys, Point screen)
{
    post_message(w, id, keys, point_param(screen_to_client(w, screen)));
}

void press(Point p)
{
    auto& s = input();
    if (capture_window() == no_window && bars_shown() && title_bar_rect().contains(p)) {
        s.ok_pressed = detail::ok_button_hit(p);
        return;
    }
    Window w = pen_target(p);
    if (w == no_window)
        return;
    s.pen_is_down = true;
    Window top = top_level_ancestor(w);
    if (capture_window() == no_window && top != active_window())
        detail::activate_by_click(top);
    std::uint32_t now = tick_count();
    bool is_double = !s.last_was_double && s.last_press == w && double_clicks(w)
        && now - s.last_tick < double_tap_ms && std::abs(p.x - s.last_point.x) <= double_tap_distance
        && std::abs(p.y - s.last_point.y) <= double_tap_distance;
    s.last_press = w;
    s.last_point = p;
    s.last_tick = now;
    s.last_was_double = is_double;
    post_pen(w, is_double ? msg::left_button_double_click : msg::left_button_down, 1, p);
}

Window key_target()
{
    Window w = focus_window();
    if (w == no_window)
        w = active_window();
    return accepts_input(w) ? w : no_window;
}

char16_t character_of(std::uint32_t key, bool shift, bool control)
{
    static constexpr char16_t digits_shifted[] = u")!@#$%^&*(";
    struct Oem {
        std::uint32_t key;
        char16_t plain, shifted;
    };
    static constexpr Oem oem[] = { { vk::oem_1, u';', u':' }, { vk::oem_plus, u'=', u'+' },
        { vk::oem_comma, u',', u'<' }, { vk::oem_minus, u'-', u'_' }, { vk::oem_period, u'.', u'>' },
        { vk::oem_2, u'/', u'?' }, { vk::oem_3, u'`', u'~' }, { vk::oem_4, u'[', u'{' },
        { vk::oem_5, u'\\', u'|' }, { vk::oem_6, u']', u'}' }, { vk::oem_7, u'\'', u'"' } };
    if (key >= 'A' && key <= 'Z') {
        if (control)
            return char16_t(key - 'A' + 1);
        return char16_t(shift ? key : key - 'A' + 'a');
    }
    if (control)
        return 0;
    if (key >= '0' && key <= '9')
        return shift ? digits_shifted[key - '0'] : char16_t(key);
    switch (key) {
    case vk::space:
    case vk::back:
    case vk::tab:
    case vk::enter:
    case vk::escape:
        return char16_t(key);
    default:
        break;
    }
    for (auto& o : oem) {
        if (o.key == key)
            return shift ? o.shifted : o.plain;
    }
    return 0;
}

}

void pen_down(Point p)
{
    input().swallow_pen = false;
    press(p);
}

void pen_move(Point p)
{
    auto& s = input();
    if (!s.pen_is_down || s.swallow_pen)
        return;
    if (Window w = pen_target(p); w != no_window)
        post_pen(w, msg::mouse_move, 1, p);
}

void pen_up(Point p)
{
    auto& s = input();
    if (s.ok_pressed) {
        s.ok_pressed = false;
        if (detail::ok_button_hit(p))
            post_message(foreground_window(), msg::command, id_ok, 0);
        return;
    }
    if (!s.pen_is_down)
        return;
    s.pen_is_down = false;
    if (std::exchange(s.swallow_pen, false))
        return;
    if (Window w = pen_target(p); w != no_window)
        post_pen(w, msg::left_button_up, 0, p);
}

void hold_down(Point p)
{
    pen_down(p);
    input().hold_pending = input().pen_is_down;
}

void hold_up(Point p)
{
    input().hold_pending = false;
    pen_up(p);
}

void key_down(std::uint32_t key)
{
    auto& s = input();
    bool was_down = s.keys[key & 0xFF];
    s.keys[key & 0xFF] = true;
    if (detail::hot_key_input(key, true))
        return;
    if (Window w = key_target(); w != no_window)
        post_message(w, msg::key_down, key, LParam(1 | (was_down ? 1 << 30 : 0)));
}

void key_up(std::uint32_t key)
{
    input().keys[key & 0xFF] = false;
    if (detail::hot_key_input(key, false))
        return;
    if (Window w = key_target(); w != no_window)
        post_message(w, msg::key_up, key, LParam(1 | 1 << 30 | 1u << 31));
}

void text_input(std::u16string_view text)
{
    Window w = key_target();
    if (w == no_window || text.empty())
        return;
    input().ime[w].emplace_back(text);
    post_message(w, msg::ime_composition, text.front(), gcs_result_string);
}

void wheel(Point p, std::int32_t turn)
{
    if (turn == 0)
        return;
    turn = std::clamp(turn, -32768, 32767);
    if (Window w = pen_target(p); w != no_window)
        post_message(w, msg::mouse_wheel, WParam(std::uint32_t(std::uint16_t(std::int16_t(turn))) << 16),
            point_param(p));
}

void request_close()
{
    end_menu();
    Window w = foreground_window();
    if (w == no_window)
        w = active_window();
    if (w == no_window) {
        post_quit_message(0);
        return;
    }
    while (window_parent(w) != no_window)
        w = window_parent(w);
    post_message(w, msg::close);
}

bool translate_message(const Message& m)
{
    if (m.message != msg::key_down && m.message != msg::sys_key_down)
        return false;
    char16_t c = character_of(std::uint32_t(m.wparam), is_key_down(vk::shift), is_key_down(vk::control));
    return c != 0 && detail::post_message_first(m.window, msg::character, c, m.lparam);
}

bool is_key_down(std::uint32_t key)
{
    return input().keys[key & 0xFF];
}

std::u16string input_method_result(Window w)
{
    auto& ime = input().ime;
    auto it = ime.find(w);
    if (it == ime.end() || it->second.empty())
        return {};
    std::u16string text = std::move(it->second.front());
    it->second.pop_front();
    if (it->second.empty())
        ime.erase(it);
    return text;
}

std::uint32_t recognize_tap_and_hold(Window w, Point client)
{
    auto& s = input();
    if (std::exchange(s.hold_pending, false)) {
        s.swallow_pen = true;
        s.last_was_double = true; // a hold is no first tap of a double tap
        return gesture_context_menu;
    }
    if (!s.pen_is_down)
        return 0;
    Point origin = client_to_screen(w, client);
    std::uint32_t start = tick_count();
    for (;;) {
        Message m;
        if (peek_message(m, {}, 0, 0, Peek::keep)) {
            if (m.message == msg::quit)
                return 0;
            if (m.message >= msg::mouse_move && m.message <= msg::left_button_double_click) {
                if (m.message != msg::mouse_move)
                    return 0;
                Point p = client_to_screen(m.window, point_of(m.lparam));
                if (std::abs(p.x - origin.x) > hold_distance || std::abs(p.y - origin.y) > hold_distance)
                    return 0;
                peek_message(m, m.window, msg::mouse_move, msg::mouse_move);
                continue;
            }
            peek_message(m);
            translate_message(m);
            dispatch_message(m);
            continue;
        }
        std::uint32_t elapsed = tick_count() - start;
        if (elapsed >= hold_ms) {
            s.swallow_pen = true;
            s.last_was_double = true;
            return gesture_context_menu;
        }
        wait_message(hold_ms - elapsed);
    }
}

}
