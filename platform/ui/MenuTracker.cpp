#include "platform/core/MessageQueue.h"
#include "platform/core/Window.h"
#include "platform/ui/detail/MenuStore.h"
#include "platform/ui/detail/MenuTracking.h"
#include "platform/ui/DeviceContext.h"
#include "platform/ui/Font.h"
#include "platform/ui/Input.h"
#include "platform/ui/Paint.h"
#include "platform/ui/Screen.h"
#include "platform/ui/ShellLook.h"
#include "platform/ui/WindowManager.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <utility>

namespace platform {

using detail::MenuItem;
using detail::menus;

namespace {

constexpr char16_t popup_class[] = u"ShellMenuPopup";

// The metrics of one level, at the screen's dpi.
struct Metrics {
    std::int32_t border = 1;
    std::int32_t pad = look::scaled(2);
    std::int32_t item_height = look::scaled(18);
    std::int32_t separator_height = look::scaled(7);
    std::int32_t check_column = look::scaled(18);
    std::int32_t arrow_column = look::scaled(14);
    std::int32_t shortcut_gap = look::scaled(16);
    std::int32_t min_width = look::scaled(60);
};

std::pair<std::u16string_view, std::u16string_view> split_shortcut(std::u16string_view text)
{
    auto tab = text.find(u'\t');
    if (tab == std::u16string_view::npos)
        return { text, {} };
    return { text.substr(0, tab), text.substr(tab + 1) };
}

const std::vector<MenuItem>& items_of(Menu m)
{
    static const std::vector<MenuItem> none;
    auto* r = menus().find(m);
    return r ? r->items : none;
}

bool selectable(const MenuItem& i)
{
    return !(i.flags & mf::separator);
}

bool usable(const MenuItem& i)
{
    return selectable(i) && !(i.flags & (mf::grayed | mf::disabled));
}

// Where menus may show: the screen below the title bar while it shows.
Rect menu_area()
{
    Size s = screen_size();
    return { 0, bars_shown() ? title_bar_rect().bottom : 0, s.width, s.height };
}

// Moves the rectangle (cut to the area's size) inside the area.
Rect keep_inside(Rect r, const Rect& area)
{
    Size size { std::min(r.width(), area.width()), std::min(r.height(), area.height()) };
    Point p { std::clamp(r.left, area.left, area.right - size.width),
        std::clamp(r.top, area.top, area.bottom - size.height) };
    return Rect::from(p, size);
}

class MenuTracker {
public:
    MenuTracker(Window owner, bool notify_root)
        : m_owner(owner)
        , m_notify_root(notify_root)
    {
    }

    std::uint32_t run(Menu root, std::uint32_t flags, Point anchor);
    void paint(Window);

    void cancel()
    {
        m_done = true;
        // Wakes the loop when it waits.
        if (!m_levels.empty())
            post_message(m_levels.front().window, 0);
    }

private:
    struct Level {
        Menu menu;
        Window window {};
        Rect rect; // screen
        std::vector<Rect> items; // client
        int highlight = -1;
    };

    void open(Menu, std::uint32_t flags, Point anchor, std::uint16_t position, bool notify);
    void open_sub_menu(std::size_t level, int item);
    void close_after(std::size_t level);
    void layout(Level&, std::uint32_t flags, Point anchor, std::optional<Rect> beside);
    bool handle(const Message&);
    void on_pen(MessageId, Point screen);
    void on_key(std::uint32_t key);
    void set_highlight(std::size_t level, int item);
    void move_highlight(int step);
    void choose(const MenuItem&);
    // The deepest level under the point and its item there (-1 for none).
    std::optional<std::pair<std::size_t, int>> hit(Point screen) const;

    Window m_owner;
    bool m_notify_root;
    std::vector<Level> m_levels;
    bool m_done = false;
    std::uint32_t m_chosen = 0;
    bool m_any_chosen = false;
    std::optional<Point> m_sub_menu_press; // screen
};

MenuTracker* g_tracker = nullptr;

LResult popup_procedure(Window w, MessageId id, WParam wp, LParam lp)
{
    if (id == msg::paint && g_tracker) {
        g_tracker->paint(w);
        return 0;
    }
    if (id == msg::erase_background)
        return 1;
    return default_window_procedure(w, id, wp, lp);
}

void register_popup_class()
{
    static bool done = register_window_class({ popup_class, popup_procedure, false, 0 }) || true;
    (void)done;
}

void MenuTracker::layout(Level& level, std::uint32_t flags, Point anchor, std::optional<Rect> beside)
{
    Metrics m;
    std::int32_t text_width = 0, shortcut_width = 0;
    const Font& font = look::font();
    std::int32_t y = m.border + m.pad;
    level.items.clear();
    for (auto& item : items_of(level.menu)) {
        std::int32_t h = (item.flags & mf::separator) ? m.separator_height : m.item_height;
        level.items.push_back({ m.border, y, 0, y + h });
        y += h;
        if (item.flags & mf::separator)
            continue;
        auto [label, shortcut] = split_shortcut(item.text);
        Rect measure { 0, 0, 0, 0 };
        DeviceContext dc = DeviceContext::memory();
        dc.select_font(&font);
        dc.draw_text(label, measure, dt::calc_rect | dt::single_line);
        text_width = std::max(text_width, measure.width());
        if (!shortcut.empty())
            shortcut_width = std::max(shortcut_width, font.width(shortcut));
    }
    std::int32_t width = m.border * 2 + m.check_column + text_width + m.arrow_column;
    if (shortcut_width > 0)
        width += m.shortcut_gap + shortcut_width;
    width = std::max(width, m.min_width);
    std::int32_t height = y + m.pad + m.border;
    for (auto& r : level.items)
        r.right = width - m.border;

    Rect area = menu_area();
    Rect r;
    if (beside) {
        // Beside the parent: to the right when it fits, else to the left; when
        // neither side has room, on the roomier one (moved inside below).
        const std::int32_t top = beside->top - m.border - m.pad;
        const Rect right = Rect::from({ beside->right - 2, top }, { width, height });
        const Rect left = Rect::from({ beside->left - width + 2, top }, { width, height });
        if (right.right <= area.right)
            r = right;
        else if (left.left >= area.left)
            r = left;
        else
            r = area.right - beside->right >= beside->left - area.left ? right : left;
    } else {
        Point p = anchor;
        if (flags & tpm::right_align)
            p.x -= width;
        else if (flags & tpm::center_align)
            p.x -= width / 2;
        if (flags & tpm::bottom_align)
            p.y -= height;
        else if (flags & tpm::vcenter_align)
            p.y -= height / 2;
        r = Rect::from(p, { width, height });
    }
    level.rect = keep_inside(r, area);
}

void MenuTracker::open(Menu menu, std::uint32_t flags, Point anchor, std::uint16_t position, bool notify)
{
    std::optional<Rect> beside;
    if (!m_levels.empty()) {
        Level& parent = m_levels.back();
        Rect item = parent.items[std::size_t(parent.highlight)];
        beside = item.offset(parent.rect.top_left());
    }
    if (notify)
        send_message(m_owner, msg::init_menu_popup, init_menu_popup_wparam(menu), position);
    if (menu_item_count(menu) <= 0)
        return; // an empty menu shows nothing
    Level level { menu };
    layout(level, flags, anchor, beside);
    WindowParams params;
    params.class_name = popup_class;
    // A child style without a parent: a top-level window that never takes the activation.
    params.style = ws::child | ws::visible;
    params.x = level.rect.left;
    params.y = level.rect.top;
    params.width = level.rect.width();
    params.height = level.rect.height();
    level.window = create_window(params);
    menus().shown.push_back(menu);
    m_levels.push_back(std::move(level));
}

void MenuTracker::open_sub_menu(std::size_t level, int item)
{
    close_after(level);
    auto& items = items_of(m_levels[level].menu);
    if (item < 0 || std::size_t(item) >= items.size())
        return;
    const MenuItem& i = items[std::size_t(item)];
    if (i.sub_menu == no_menu || !usable(i))
        return;
    open(i.sub_menu, 0, {}, std::uint16_t(item), true);
}

void MenuTracker::close_after(std::size_t level)
{
    while (m_levels.size() > level + 1) {
        destroy_window(m_levels.back().window);
        std::erase(menus().shown, m_levels.back().menu);
        m_levels.pop_back();
    }
}

void MenuTracker::set_highlight(std::size_t level, int item)
{
    Level& l = m_levels[level];
    if (l.highlight == item)
        return;
    for (int changed : { l.highlight, item }) {
        if (changed >= 0 && std::size_t(changed) < l.items.size())
            invalidate_rect(l.window, l.items[std::size_t(changed)], false);
    }
    l.highlight = item;
}

std::optional<std::pair<std::size_t, int>> MenuTracker::hit(Point p) const
{
    for (std::size_t i = m_levels.size(); i-- > 0;) {
        const Level& l = m_levels[i];
        if (!l.rect.contains(p))
            continue;
        Point c = p - l.rect.top_left();
        for (std::size_t k = 0; k < l.items.size(); ++k) {
            if (l.items[k].contains(c))
                return std::pair(i, int(k));
        }
        return std::pair(i, -1);
    }
    return std::nullopt;
}

void MenuTracker::choose(const MenuItem& item)
{
    m_chosen = item.command;
    m_any_chosen = true;
    m_done = true;
}

void MenuTracker::on_pen(MessageId id, Point p)
{
    auto found = hit(p);
    if (!found) {
        if (id == msg::left_button_down || id == msg::left_button_double_click)
            cancel(); // a tap outside dismisses the menu
        return;
    }
    auto [level, item] = *found;
    auto& items = items_of(m_levels[level].menu);
    bool on_item = item >= 0 && std::size_t(item) < items.size() && selectable(items[std::size_t(item)]);
    if (id == msg::left_button_up) {
        // The release of the press that opened a sub-menu is no choice of
        // what now lies under it.
        const auto opened_at = std::exchange(m_sub_menu_press, std::nullopt);
        if (opened_at && std::abs(p.x - opened_at->x) <= hold_distance && std::abs(p.y - opened_at->y) <= hold_distance)
            return;
        if (on_item && usable(items[std::size_t(item)]) && items[std::size_t(item)].sub_menu == no_menu)
            choose(items[std::size_t(item)]);
        return;
    }
    if (id != msg::mouse_move)
        m_sub_menu_press.reset();
    if (!on_item)
        return;
    bool opened = m_levels.size() > level + 1 && m_levels[level].highlight == item;
    close_after(opened ? level + 1 : level);
    set_highlight(level, item);
    if (!opened && items[std::size_t(item)].sub_menu != no_menu) {
        open_sub_menu(level, item);
        if (id != msg::mouse_move && m_levels.size() > level + 1)
            m_sub_menu_press = p;
    }
}

void MenuTracker::move_highlight(int step)
{
    std::size_t level = m_levels.size() - 1;
    auto& items = items_of(m_levels[level].menu);
    int count = int(items.size());
    if (count == 0)
        return;
    int at = m_levels[level].highlight;
    if (at < 0)
        at = step > 0 ? -1 : count;
    for (int tries = 0; tries < count; ++tries) {
        at = ((at + step) % count + count) % count;
        if (selectable(items[std::size_t(at)])) {
            set_highlight(level, at);
            return;
        }
    }
}

void MenuTracker::on_key(std::uint32_t key)
{
    std::size_t level = m_levels.size() - 1;
    int at = m_levels[level].highlight;
    auto& items = items_of(m_levels[level].menu);
    const MenuItem* current = at >= 0 && std::size_t(at) < items.size() ? &items[std::size_t(at)] : nullptr;
    switch (key) {
    case vk::up:
        move_highlight(-1);
        break;
    case vk::down:
        move_highlight(1);
        break;
    case vk::right:
    case vk::enter:
        if (current && current->sub_menu != no_menu) {
            open_sub_menu(level, at);
            if (m_levels.size() > level + 1)
                move_highlight(1);
        } else if (key == vk::enter && current && usable(*current))
            choose(*current);
        break;
    case vk::left:
    case vk::escape:
        if (level > 0)
            close_after(level - 1);
        else if (key == vk::escape)
            cancel();
        break;
    default:
        break;
    }
}

bool MenuTracker::handle(const Message& m)
{
    switch (m.message) {
    case msg::key_down:
    case msg::sys_key_down:
        on_key(std::uint32_t(m.wparam));
        return true;
    case msg::key_up:
    case msg::sys_key_up:
    case msg::character:
    case msg::ime_composition:
        return true; // the menu has the keyboard while it shows
    case msg::left_button_down:
    case msg::left_button_double_click:
    case msg::mouse_move:
    case msg::left_button_up:
        on_pen(m.message, client_to_screen(m.window, point_of(m.lparam)));
        return true;
    default:
        return false;
    }
}

void MenuTracker::paint(Window w)
{
    PaintScope scope(w);
    auto level
        = std::find_if(m_levels.begin(), m_levels.end(), [&](const Level& l) { return l.window == w; });
    if (level == m_levels.end())
        return;
    Metrics m;
    DeviceContext& dc = scope.dc();
    Rect all = client_rect(w);
    dc.fill_rect(all, look::window);
    look::frame_rect(dc, all, look::frame);
    auto& items = items_of(level->menu);
    for (std::size_t i = 0; i < level->items.size() && i < items.size(); ++i) {
        const MenuItem& item = items[i];
        Rect r = level->items[i];
        if (item.flags & mf::separator) {
            std::int32_t y = r.top + r.height() / 2;
            dc.fill_rect({ r.left + m.pad, y, r.right - m.pad, y + 1 }, look::grey_text);
            continue;
        }
        bool lit = int(i) == level->highlight;
        bool grey = item.flags & (mf::grayed | mf::disabled);
        if (lit)
            dc.fill_rect(r, look::highlight);
        ColorRef color = grey ? look::grey_text : lit ? look::highlight_text : look::text;
        look::prepare_text(dc, color);
        if (item.flags & mf::checked)
            look::check_mark(dc, { r.left, r.top, r.left + m.check_column, r.bottom }, color);
        auto [label, shortcut] = split_shortcut(item.text);
        Rect text { r.left + m.check_column, r.top, r.right - m.arrow_column, r.bottom };
        dc.draw_text(shortcut, text, dt::right | dt::vcenter | dt::single_line | dt::no_prefix);
        dc.draw_text(label, text, dt::left | dt::vcenter | dt::single_line | dt::end_ellipsis);
        if (item.sub_menu != no_menu)
            look::arrow(
                dc, { r.right - m.arrow_column, r.top, r.right, r.bottom }, look::Arrow::right, color);
    }
    dc.select_font(nullptr);
}

std::uint32_t MenuTracker::run(Menu root, std::uint32_t flags, Point anchor)
{
    register_popup_class();
    open(root, flags, anchor, 0, m_notify_root);
    if (m_levels.empty())
        return 0;
    Window root_window = m_levels.front().window;
    set_capture(root_window);
    while (!m_done) {
        Message m;
        if (!get_message(m)) {
            post_quit_message(int(m.wparam));
            break;
        }
        if (!handle(m)) {
            translate_message(m);
            dispatch_message(m);
        }
        if (capture_window() != root_window || !is_window(m_owner))
            break;
    }
    close_after(0);
    destroy_window(root_window);
    std::erase(menus().shown, root);
    m_levels.clear();
    if (!m_any_chosen)
        return 0;
    if (flags & tpm::return_command)
        return m_chosen;
    post_message(m_owner, msg::command, m_chosen, 0);
    return 1;
}

}

namespace detail {

std::uint32_t track_menu(Menu menu, std::uint32_t flags, Point screen, Window owner, bool notify_root)
{
    if (g_tracker || !is_menu(menu) || !is_window(owner))
        return 0;
    MenuTracker tracker(owner, notify_root);
    g_tracker = &tracker;
    std::uint32_t result = tracker.run(menu, flags, screen);
    g_tracker = nullptr;
    return result;
}

bool menu_is_tracked()
{
    return g_tracker != nullptr;
}

}

std::uint32_t track_popup_menu(Menu menu, std::uint32_t flags, Point screen, Window owner)
{
    return detail::track_menu(menu, flags, screen, owner, true);
}

void end_menu()
{
    if (g_tracker)
        g_tracker->cancel();
}

}
