#include "platform/ui/WindowManager.h"

#include "platform/core/MessageQueue.h"
#include "platform/ui/detail/Shell.h"
#include "platform/ui/detail/WindowTree.h"
#include "platform/ui/Screen.h"

#include <algorithm>

namespace platform {

using namespace detail;

namespace detail {

WindowRecord* find_record(MessageState& s, Window w)
{
    auto it = s.windows.find(static_cast<std::uint32_t>(w));
    return it == s.windows.end() ? nullptr : &it->second;
}

bool is_child(const WindowRecord& r)
{
    return (r.style & ws::child) && r.parent != no_window;
}

Window container_of(MessageState& s, Window w)
{
    WindowRecord* r = find_record(s, w);
    return r && is_child(*r) ? r->parent : no_window;
}

Point client_origin(MessageState& s, Window w)
{
    Point origin;
    for (WindowRecord* r = find_record(s, w); r; r = is_child(*r) ? find_record(s, r->parent) : nullptr)
        origin = origin + r->rect.top_left();
    return origin;
}

Rect screen_rect(MessageState& s, Window w)
{
    WindowRecord* r = find_record(s, w);
    if (!r)
        return {};
    return Rect::from(client_origin(s, w), r->rect.size());
}

bool shown(MessageState& s, Window w)
{
    for (WindowRecord* r = find_record(s, w);; r = find_record(s, r->parent)) {
        if (!r || !(r->style & ws::visible))
            return false;
        if (!is_child(*r))
            return true;
    }
}

Window top_level_of(MessageState& s, Window w)
{
    for (;;) {
        WindowRecord* r = find_record(s, w);
        if (!r)
            return no_window;
        if (!is_child(*r))
            return w;
        w = r->parent;
    }
}

bool bars_shown(MessageState& s)
{
    WindowRecord* r = find_record(s, s.active);
    return !(r && r->full_screen && (r->style & ws::visible));
}

Region visible_region(MessageState& s, Window w, bool exclude_clipped_children)
{
    if (!shown(s, w))
        return {};
    Region region(screen_rect(s, w));
    for (Window a = w; container_of(s, a) != no_window; a = container_of(s, a))
        region.intersect(screen_rect(s, container_of(s, a)));
    if (bars_shown(s))
        region.subtract(title_bar_rect());
    for (Window a = w;; a = container_of(s, a)) {
        Window level = container_of(s, a);
        for (Window z : s.z_order) {
            if (z == a)
                break;
            WindowRecord* r = find_record(s, z);
            if (r && (r->style & ws::visible) && container_of(s, z) == level)
                region.subtract(screen_rect(s, z));
        }
        if (level == no_window)
            break;
    }
    WindowRecord* self = find_record(s, w);
    if (exclude_clipped_children && (self->style & ws::clip_children)) {
        for (auto& [id, r] : s.windows) {
            if (is_child(r) && r.parent == w && (r.style & ws::visible))
                region.subtract(screen_rect(s, Window { id }));
        }
    }
    return region;
}

void invalidate_screen(MessageState& s, const Region& area)
{
    if (area.empty())
        return;
    for (auto& [id, r] : s.windows) {
        Window w { id };
        Region part = visible_region(s, w, true);
        part.intersect(area);
        if (part.empty())
            continue;
        Point origin = client_origin(s, w);
        part.offset({ -origin.x, -origin.y });
        r.invalid.add(part);
        r.erase = true;
    }
    desktop_invalidated(area);
    if (!area.bounds().intersect(title_bar_rect()).empty())
        bars_changed();
}

}

namespace {

std::unique_lock<std::mutex> lock_state()
{
    return std::unique_lock(state().mutex);
}

bool on_this_thread(WindowRecord* r)
{
    return r && r->queue->id == current_thread_id();
}

void move_in_z_order(MessageState& s, Window w, std::size_t position)
{
    auto& z = s.z_order;
    z.erase(std::remove(z.begin(), z.end(), w), z.end());
    z.insert(z.begin() + std::ptrdiff_t(std::min(position, z.size())), w);
}

bool owned_by(MessageState& s, Window w, Window owner)
{
    for (WindowRecord* r = find_record(s, w); r && !is_child(*r) && r->parent != no_window;
         r = find_record(s, r->parent)) {
        if (r->parent == owner)
            return true;
    }
    return false;
}

// Puts the window above its siblings; a top-level window takes the windows it
// owns along, above itself.
void raise_locked(MessageState& s, Window w)
{
    WindowRecord* r = find_record(s, w);
    if (!r)
        return;
    std::vector<Window> group;
    if (!is_child(*r)) {
        for (Window z : s.z_order) {
            if (owned_by(s, z, w))
                group.push_back(z);
        }
    }
    group.push_back(w);
    for (auto it = group.rbegin(); it != group.rend(); ++it)
        move_in_z_order(s, *it, 0);
}

// Changes the tree under the lock and invalidates what that uncovered or exposed.
template<typename F>
void change_and_repaint(MessageState& s, Window w, bool repaint_window, F change)
{
    Region before = visible_region(s, w, false);
    change();
    Region after = visible_region(s, w, false);
    Region uncovered = before;
    uncovered.subtract(after);
    invalidate_screen(s, uncovered);
    if (repaint_window)
        invalidate_screen(s, after);
    else {
        Region exposed = after;
        exposed.subtract(before);
        invalidate_screen(s, exposed);
    }
}

bool can_activate(MessageState& s, Window w)
{
    WindowRecord* r = find_record(s, w);
    return r && !is_child(*r) && (r->style & ws::visible) && !(r->style & ws::disabled);
}

// The window that takes over the activation from one going away.
Window next_active(MessageState& s, Window leaving)
{
    WindowRecord* r = find_record(s, leaving);
    if (r && !is_child(*r) && r->parent != no_window && r->parent != leaving && can_activate(s, r->parent))
        return r->parent;
    for (Window z : s.z_order) {
        if (z != leaving && can_activate(s, z) && !owned_by(s, z, leaving))
            return z;
    }
    return no_window;
}

bool focus_within(MessageState& s, Window focus, Window w)
{
    for (Window a = focus; a != no_window; a = container_of(s, a)) {
        if (a == w)
            return true;
    }
    return false;
}

Window activate(Window w, WParam how)
{
    Window old;
    {
        auto lock = lock_state();
        auto& s = state();
        if (w != no_window) {
            w = top_level_of(s, w);
            WindowRecord* r = find_record(s, w);
            if (!on_this_thread(r))
                return no_window;
            if (r->style & ws::child)
                return s.active; // a child floating without parent is never active
        }
        old = s.active;
        if (old == w)
            return old;
        s.active = w;
        if (w != no_window)
            change_and_repaint(s, w, false, [&] { raise_locked(s, w); });
        bars_changed();
        // Full-screen windows change the screen's free area.
        invalidate_screen(s, Region(title_bar_rect()));
    }
    if (old != no_window)
        send_message(old, msg::activate, wa::inactive, LParam(w));
    if (w != no_window)
        send_message(w, msg::activate, how, LParam(old));
    foreground_changed();
    Window focus;
    {
        auto lock = lock_state();
        focus = state().focus;
        if (focus != no_window && focus_within(state(), focus, w))
            return old;
    }
    if (focus != no_window)
        set_focus(no_window);
    return old;
}

// What f makes of the window's record, or the fallback when it is gone.
template<typename T, typename F>
T read_record(Window w, T fallback, F f)
{
    auto lock = lock_state();
    WindowRecord* r = find_record(state(), w);
    return r ? T(f(*r)) : fallback;
}

Rect rect_of(Window w)
{
    return read_record(w, Rect {}, [](WindowRecord& r) { return r.rect; });
}

}

Rect window_rect(Window w)
{
    auto lock = lock_state();
    return screen_rect(state(), w);
}

Rect client_rect(Window w)
{
    return Rect::from({}, rect_of(w).size());
}

Point client_to_screen(Window w, Point p)
{
    auto lock = lock_state();
    return p + client_origin(state(), w);
}

Point screen_to_client(Window w, Point p)
{
    auto lock = lock_state();
    return p - client_origin(state(), w);
}

bool set_window_pos(Window w, Window insert_after, const Rect& rect, std::uint32_t flags)
{
    Size old_size, new_size;
    bool was_visible = false, activate_it = false;
    {
        auto lock = lock_state();
        auto& s = state();
        WindowRecord* r = find_record(s, w);
        if (!on_this_thread(r))
            return false;
        old_size = r->rect.size();
        was_visible = r->style & ws::visible;
        bool repaint = !(flags & swp::no_redraw)
            && ((flags & swp::frame_changed) || !(flags & swp::no_move) || !(flags & swp::no_size));
        change_and_repaint(s, w, repaint, [&] {
            Rect next = r->rect;
            if (!(flags & swp::no_move))
                next = next.offset(rect.top_left() - next.top_left());
            if (!(flags & swp::no_size))
                next = Rect::from(next.top_left(), { std::max(rect.width(), 0), std::max(rect.height(), 0) });
            r->rect = next;
            if (flags & swp::show_window)
                r->style |= ws::visible;
            if (flags & swp::hide_window)
                r->style &= ~ws::visible;
            if (!(flags & swp::no_z_order)) {
                if (insert_after == z_top)
                    raise_locked(s, w);
                else if (insert_after == z_bottom)
                    move_in_z_order(s, w, s.z_order.size());
                else if (insert_after != w) {
                    auto it = std::find(s.z_order.begin(), s.z_order.end(), insert_after);
                    if (it != s.z_order.end()) {
                        s.z_order.erase(std::remove(s.z_order.begin(), s.z_order.end(), w), s.z_order.end());
                        it = std::find(s.z_order.begin(), s.z_order.end(), insert_after);
                        s.z_order.insert(it + 1, w);
                    }
                }
            }
        });
        new_size = r->rect.size();
        activate_it = (flags & swp::show_window) && !was_visible && !(flags & swp::no_activate) && !is_child(*r);
        if (s.active == w && !(r->style & ws::visible))
            activate_it = false;
    }
    if (flags & swp::hide_window) {
        auto lock = lock_state();
        if (state().active == w) {
            Window next = next_active(state(), w);
            lock.unlock();
            activate(next, wa::active);
        }
    }
    if (activate_it)
        activate(w, wa::active);
    if (new_size != old_size)
        send_message(w, msg::size, size_restored, LParam(new_size.width | (new_size.height << 16)));
    return true;
}

bool move_window(Window w, const Rect& rect, bool repaint)
{
    return set_window_pos(w, no_window, rect, swp::no_z_order | swp::no_activate | (repaint ? 0 : swp::no_redraw));
}

bool show_window(Window w, int command)
{
    bool hide = command == sw::hide;
    bool was_visible = window_style(w) & ws::visible;
    if (hide == !was_visible)
        return was_visible;
    std::uint32_t flags = swp::no_move | swp::no_size | swp::no_z_order | (hide ? swp::hide_window : swp::show_window);
    if (command != sw::show && command != sw::show_normal)
        flags |= swp::no_activate;
    set_window_pos(w, no_window, {}, flags);
    return was_visible;
}

bool is_window_visible(Window w)
{
    auto lock = lock_state();
    return shown(state(), w);
}

bool enable_window(Window w, bool enable)
{
    bool was_disabled;
    bool lose_focus = false;
    {
        auto lock = lock_state();
        WindowRecord* r = find_record(state(), w);
        if (!r)
            return false;
        was_disabled = r->style & ws::disabled;
        if (enable)
            r->style &= ~ws::disabled;
        else {
            r->style |= ws::disabled;
            lose_focus = state().focus != no_window && focus_within(state(), state().focus, w);
        }
    }
    if (lose_focus)
        set_focus(no_window);
    return was_disabled;
}

bool is_window_enabled(Window w)
{
    return read_record(w, false, [](WindowRecord& r) { return !(r.style & ws::disabled); });
}

bool set_window_text(Window w, std::u16string_view text)
{
    auto lock = lock_state();
    WindowRecord* r = find_record(state(), w);
    if (!r)
        return false;
    r->title = text;
    if (state().active == w)
        bars_changed();
    return true;
}

std::u16string window_text(Window w)
{
    return window_title(w);
}

Window set_parent(Window w, Window parent)
{
    auto lock = lock_state();
    auto& s = state();
    WindowRecord* r = find_record(s, w);
    if (!on_this_thread(r) || (parent != no_window && !find_record(s, parent)) || parent == w)
        return no_window;
    for (Window a = parent; a != no_window; a = container_of(s, a)) {
        if (a == w)
            return no_window; // would make a cycle
    }
    Window old = r->parent;
    change_and_repaint(s, w, true, [&] {
        r->parent = parent;
        move_in_z_order(s, w, 0);
    });
    return old;
}

Window top_level_ancestor(Window w)
{
    auto lock = lock_state();
    return top_level_of(state(), w);
}

std::vector<Window> child_windows(Window w)
{
    auto lock = lock_state();
    std::vector<Window> result;
    for (Window z : state().z_order) {
        WindowRecord* r = find_record(state(), z);
        if (r && is_child(*r) && r->parent == w)
            result.push_back(z);
    }
    return result;
}

std::vector<Window> top_level_windows_by_z_order()
{
    auto lock = lock_state();
    std::vector<Window> result;
    for (Window z : state().z_order) {
        WindowRecord* r = find_record(state(), z);
        if (r && !is_child(*r))
            result.push_back(z);
    }
    return result;
}

Window window_from_point(Point p)
{
    auto lock = lock_state();
    auto& s = state();
    Window found = no_window;
    for (;;) {
        Window deeper = no_window;
        for (Window z : s.z_order) {
            WindowRecord* r = find_record(s, z);
            if (r && (r->style & ws::visible) && container_of(s, z) == found && screen_rect(s, z).contains(p)) {
                deeper = z;
                break;
            }
        }
        if (deeper == no_window)
            return found;
        found = deeper;
    }
}

bool bring_window_to_top(Window w)
{
    auto lock = lock_state();
    auto& s = state();
    if (!on_this_thread(find_record(s, w)))
        return false;
    change_and_repaint(s, w, false, [&] { raise_locked(s, w); });
    return true;
}

std::uint32_t window_ex_style(Window w)
{
    return read_record(w, std::uint32_t(0), [](WindowRecord& r) { return r.ex_style; });
}

void set_window_ex_style(Window w, std::uint32_t value)
{
    read_record(w, 0, [&](WindowRecord& r) { return r.ex_style = value; });
}

std::intptr_t window_user_data(Window w)
{
    return read_record(w, std::intptr_t(0), [](WindowRecord& r) { return r.user_data; });
}

void set_window_user_data(Window w, std::intptr_t value)
{
    read_record(w, 0, [&](WindowRecord& r) { return r.user_data = value; });
}

Window set_active_window(Window w)
{
    if (w != no_window && !is_window(w))
        return no_window;
    return activate(w, wa::active);
}

Window active_window()
{
    auto lock = lock_state();
    return state().active;
}

bool set_foreground_window(Window w)
{
    if (!is_window(w))
        return false;
    activate(w, wa::active);
    return active_window() == top_level_ancestor(w);
}

Window foreground_window()
{
    return active_window();
}

Window set_focus(Window w)
{
    Window old;
    {
        auto lock = lock_state();
        auto& s = state();
        if (w != no_window) {
            if (!on_this_thread(find_record(s, w)))
                return no_window;
            Window top = top_level_of(s, w);
            if (top != s.active) {
                lock.unlock();
                activate(top, wa::active);
                lock.lock();
                if (!find_record(s, w))
                    return no_window;
            }
        }
        old = s.focus;
        if (old == w)
            return old;
        s.focus = w;
    }
    if (old != no_window)
        send_message(old, msg::kill_focus, WParam(w));
    if (w != no_window)
        send_message(w, msg::set_focus, WParam(old));
    return old;
}

Window focus_window()
{
    auto lock = lock_state();
    return state().focus;
}

Window set_capture(Window w)
{
    Window old;
    {
        auto lock = lock_state();
        if (!on_this_thread(find_record(state(), w)))
            return no_window;
        old = std::exchange(state().capture, w);
    }
    if (old != no_window && old != w)
        send_message(old, msg::capture_changed, 0, LParam(w));
    return old;
}

bool release_capture()
{
    Window old;
    {
        auto lock = lock_state();
        old = std::exchange(state().capture, no_window);
    }
    if (old != no_window)
        send_message(old, msg::capture_changed, 0, 0);
    return true;
}

Window capture_window()
{
    auto lock = lock_state();
    return state().capture;
}

namespace detail {

void window_created(Window w)
{
    bool activate_it;
    {
        auto lock = lock_state();
        auto& s = state();
        WindowRecord* r = find_record(s, w);
        if (!r || !(r->style & ws::visible))
            return;
        invalidate_screen(s, visible_region(s, w, false));
        activate_it = !is_child(*r);
    }
    if (activate_it)
        activate(w, wa::active);
}

void window_destroying(Window w)
{
    std::vector<Window> subtree = descendants_of(w);
    subtree.push_back(w);
    auto in_subtree = [&](Window x) { return std::find(subtree.begin(), subtree.end(), x) != subtree.end(); };
    Window capture, focus, next = no_window;
    bool was_active;
    {
        auto lock = lock_state();
        auto& s = state();
        capture = in_subtree(s.capture) ? std::exchange(s.capture, no_window) : no_window;
        focus = in_subtree(s.focus) ? std::exchange(s.focus, no_window) : no_window;
        WindowRecord* r = find_record(s, w);
        if (r)
            change_and_repaint(s, w, false, [&] { r->style &= ~ws::visible; });
        was_active = s.active == w;
        if (was_active)
            next = next_active(s, w);
    }
    if (capture != no_window)
        send_message(capture, msg::capture_changed, 0, 0);
    if (focus != no_window)
        send_message(focus, msg::kill_focus, 0);
    if (was_active)
        activate(next, wa::active);
}

void activate_by_click(Window w)
{
    activate(w, wa::click_active);
}

}

}
