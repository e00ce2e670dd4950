#include "platform/ui/MenuBar.h"

#include "platform/core/MessageQueue.h"
#include "platform/core/Resources.h"
#include "platform/core/Window.h"
#include "platform/ui/detail/MenuTracking.h"
#include "platform/ui/detail/Shell.h"
#include "platform/ui/DeviceContext.h"
#include "platform/ui/Font.h"
#include "platform/ui/HotKeys.h"
#include "platform/ui/Icon.h"
#include "platform/ui/Input.h"
#include "platform/ui/Paint.h"
#include "platform/ui/Picture.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Shell.h"
#include "platform/ui/ShellLook.h"
#include "platform/ui/WindowManager.h"

#include <map>
#include <memory>

namespace platform {

namespace {

constexpr char16_t bar_class[] = u"ShellMenuBar";
// Posted to a bar by its soft key: wparam 0 for the left key, 1 for the right one.
constexpr MessageId soft_key_pressed = 0x8001;

struct Bar {
    Window owner;
    std::vector<ToolbarButton> buttons;
    std::vector<std::unique_ptr<Icon>> images;
    std::vector<std::unique_ptr<Icon>> greyed_images; // one per image, for disabled buttons
    bool shell_hidden = false; // hidden because its window is not in front
    int pressed = -1;
    bool pressed_inside = false;
    int open = -1; // the button whose menu shows
    std::map<std::uint32_t, std::uint32_t> overrides; // key: shmbof flags
};

std::map<Window, Bar>& bars()
{
    static auto* all = new std::map<Window, Bar>;
    return *all;
}

Bar* find_bar(Window w)
{
    auto it = bars().find(w);
    return it == bars().end() ? nullptr : &it->second;
}

int index_of(const Bar& bar, std::int32_t command)
{
    for (std::size_t i = 0; i < bar.buttons.size(); ++i) {
        if (bar.buttons[i].command == command)
            return int(i);
    }
    return -1;
}

bool shows(const ToolbarButton& b)
{
    return !(b.state & tbstate::hidden);
}

bool is_separator(const ToolbarButton& b)
{
    return b.style & tbstyle::separator;
}

const Icon* image_of(const Bar& bar, const ToolbarButton& b, bool greyed = false)
{
    if (b.image < 0 || std::size_t(b.image) >= bar.images.size())
        return nullptr;
    const auto& images = greyed ? bar.greyed_images : bar.images;
    return images[std::size_t(b.image)].get();
}

// Two soft keys share the bar, the first at its left end and the second at
// its right end; further buttons have no place.
std::vector<Rect> soft_key_layout(const Bar& bar)
{
    std::int32_t height = bar_height();
    std::int32_t half = screen_size().width / 2;
    std::vector<Rect> rects;
    for (std::size_t i = 0; i < bar.buttons.size(); ++i) {
        if (i > 1 || !shows(bar.buttons[i]) || is_separator(bar.buttons[i]))
            rects.push_back({});
        else
            rects.push_back(i == 0 ? Rect { 0, 1, half, height } : Rect { half, 1, 2 * half, height });
    }
    return rects;
}

// The buttons' rectangles in the bar (empty for hidden ones), left to right.
std::vector<Rect> layout(const Bar& bar)
{
    if (has_soft_keys())
        return soft_key_layout(bar);
    std::int32_t height = bar_height();
    std::int32_t pad = look::scaled(6);
    const Font& font = look::font();
    std::vector<Rect> rects;
    std::int32_t x = 0;
    for (auto& b : bar.buttons) {
        if (!shows(b)) {
            rects.push_back({});
            continue;
        }
        std::int32_t width;
        if (is_separator(b))
            width = look::scaled(6);
        else {
            const Icon* icon = image_of(bar, b);
            std::int32_t content = icon ? icon->size().width : 0;
            if (!b.text.empty())
                content += (icon ? look::scaled(3) : 0) + font.width(b.text);
            width = std::max(content + 2 * pad, look::scaled(24));
        }
        rects.push_back({ x, 1, x + width, height });
        x += width;
    }
    return rects;
}

int button_at(const Bar& bar, Point client)
{
    auto rects = layout(bar);
    for (std::size_t i = 0; i < rects.size(); ++i) {
        if (rects[i].contains(client) && !is_separator(bar.buttons[i]))
            return int(i);
    }
    return -1;
}

void paint_bar(Window w, Bar& bar)
{
    PaintScope scope(w);
    DeviceContext& dc = scope.dc();
    Rect all = client_rect(w);
    dc.fill_rect(all, look::bar);
    dc.fill_rect({ all.left, all.top, all.right, all.top + 1 }, look::bar_line);
    auto rects = layout(bar);
    for (std::size_t i = 0; i < rects.size(); ++i) {
        const ToolbarButton& b = bar.buttons[i];
        Rect r = rects[i];
        if (r.empty())
            continue;
        if (is_separator(b)) {
            std::int32_t x = r.left + r.width() / 2;
            dc.fill_rect({ x, r.top + look::scaled(4), x + 1, r.bottom - look::scaled(4) }, look::bar_line);
            continue;
        }
        bool enabled = b.state & tbstate::enabled;
        bool lit = int(i) == bar.open || (int(i) == bar.pressed && bar.pressed_inside)
            || (b.state & tbstate::pressed);
        if (lit)
            dc.fill_rect(r, look::highlight);
        else if (b.state & tbstate::checked)
            dc.fill_rect(r, look::button_checked);
        ColorRef color = !enabled ? look::grey_text : lit ? look::highlight_text : look::text;
        std::int32_t x = r.left + look::scaled(6);
        if (const Icon* icon = image_of(bar, b, !enabled)) {
            draw_icon(dc, { x, r.top + (r.height() - icon->size().height) / 2 }, *icon);
            x += icon->size().width + look::scaled(3);
        }
        look::prepare_text(dc, color);
        // The right soft key's label keeps to the right edge, over its key.
        const bool right_key = has_soft_keys() && i == 1;
        Rect text { x, r.top, right_key ? r.right - look::scaled(6) : r.right, r.bottom };
        dc.draw_text(b.text, text,
            (right_key ? dt::right : dt::left) | dt::vcenter | dt::single_line | dt::no_prefix);
    }
    dc.select_font(nullptr);
}

void drop_menu(ToolbarButton& b)
{
    if (b.menu != no_menu)
        destroy_menu(std::exchange(b.menu, no_menu));
}

void open_drop_down(Window w, int index)
{
    Bar* bar = find_bar(w);
    Menu menu = bar->buttons[std::size_t(index)].menu;
    std::int32_t command = bar->buttons[std::size_t(index)].command;
    Window owner = bar->owner;
    Rect button = layout(*bar)[std::size_t(index)].offset(window_rect(w).top_left());
    bar->open = index;
    invalidate_rect(w, std::nullopt, false);
    send_message(owner, msg::init_menu_popup, init_menu_popup_wparam(menu), LParam(std::uint16_t(command)));
    if (menu_item_count(menu) > 0)
        detail::track_menu(
            menu, tpm::left_align | tpm::bottom_align, { button.left, window_rect(w).top }, owner, false);
    if ((bar = find_bar(w))) {
        bar->open = -1;
        invalidate_rect(w, std::nullopt, false);
    }
}

void press(Window w, Bar& bar, Point p)
{
    int i = button_at(bar, p);
    if (i < 0 || !(bar.buttons[std::size_t(i)].state & tbstate::enabled))
        return;
    const ToolbarButton& b = bar.buttons[std::size_t(i)];
    if ((b.style & (tbstyle::drop_down | tbstyle::whole_drop_down)) && b.menu != no_menu) {
        open_drop_down(w, i);
        return;
    }
    set_capture(w);
    bar.pressed = i;
    bar.pressed_inside = true;
    invalidate_rect(w, std::nullopt, false);
}

// A soft key acts on its button as a tap on it would.
void press_soft_key(Window w, Bar& bar, std::size_t index)
{
    if (index >= bar.buttons.size() || index > 1)
        return;
    const ToolbarButton& b = bar.buttons[index];
    if (!shows(b) || is_separator(b) || !(b.state & tbstate::enabled))
        return;
    if ((b.style & (tbstyle::drop_down | tbstyle::whole_drop_down)) && b.menu != no_menu) {
        open_drop_down(w, int(index));
        return;
    }
    post_message(bar.owner, msg::command, WParam(std::uint16_t(b.command)), LParam(w));
}

void release(Window w, Bar& bar, Point p)
{
    int i = std::exchange(bar.pressed, -1);
    bool inside = i >= 0 && i == button_at(bar, p);
    if (capture_window() == w)
        release_capture();
    invalidate_rect(w, std::nullopt, false);
    if (!inside || !(bar.buttons[std::size_t(i)].state & tbstate::enabled))
        return;
    ToolbarButton& b = bar.buttons[std::size_t(i)];
    if (b.style & tbstyle::check)
        b.state ^= tbstate::checked;
    post_message(bar.owner, msg::command, WParam(std::uint16_t(b.command)), LParam(w));
}

LResult set_info(Bar& bar, std::int32_t command, const ToolbarButtonInfo& info)
{
    int i = index_of(bar, command);
    if (i < 0)
        return 0;
    ToolbarButton& b = bar.buttons[std::size_t(i)];
    if (info.mask & tbif::image)
        b.image = info.image;
    if (info.mask & tbif::text)
        b.text = info.text;
    if (info.mask & tbif::state)
        b.state = info.state;
    if (info.mask & tbif::style)
        b.style = info.style;
    if ((info.mask & tbif::menu) && info.menu != b.menu) {
        drop_menu(b);
        b.menu = info.menu;
    }
    if (info.mask & tbif::command)
        b.command = info.command;
    return 1;
}

LResult get_info(Bar& bar, std::int32_t command, ToolbarButtonInfo& info)
{
    int i = index_of(bar, command);
    if (i < 0)
        return -1;
    const ToolbarButton& b = bar.buttons[std::size_t(i)];
    info.command = b.command;
    info.image = b.image;
    info.state = b.state;
    info.style = b.style;
    info.menu = b.menu;
    info.text = b.text;
    return i;
}

// Sets or clears a state bit of the button with the command.
LResult change_state(Bar& bar, std::int32_t command, std::uint8_t bit, bool set)
{
    int i = index_of(bar, command);
    if (i < 0)
        return 0;
    auto& state = bar.buttons[std::size_t(i)].state;
    state = set ? state | bit : state & ~bit;
    return 1;
}

LResult state_of(Bar& bar, std::int32_t command, std::uint8_t bit)
{
    int i = index_of(bar, command);
    return i >= 0 && (bar.buttons[std::size_t(i)].state & bit);
}

// Toolbar messages; nullopt for the others.
std::optional<LResult> toolbar_message(Bar& bar, MessageId id, WParam wp, LParam lp)
{
    auto command = std::int32_t(wp);
    bool on = (lp & 0xFFFF) != 0;
    switch (id) {
    case tb::button_count:
        return LResult(bar.buttons.size());
    case tb::insert_button: {
        if (!lp)
            return 0;
        auto at = std::min(std::size_t(wp), bar.buttons.size());
        bar.buttons.insert(bar.buttons.begin() + std::ptrdiff_t(at), *toolbar_button_of(lp));
        return 1;
    }
    case tb::delete_button:
        if (wp >= bar.buttons.size())
            return 0;
        drop_menu(bar.buttons[wp]);
        bar.buttons.erase(bar.buttons.begin() + std::ptrdiff_t(wp));
        if (bar.pressed == int(wp))
            bar.pressed = -1;
        return 1;
    case tb::get_button:
        if (wp >= bar.buttons.size() || !lp)
            return 0;
        *toolbar_button_out(lp) = bar.buttons[wp];
        return 1;
    case tb::command_to_index:
        return index_of(bar, command);
    case tb::get_item_rect: {
        if (wp >= bar.buttons.size() || !lp)
            return 0;
        Rect r = layout(bar)[wp];
        *toolbar_rect_of(lp) = r;
        return r.empty() ? 0 : 1;
    }
    case tb::set_button_info:
        if (!lp)
            return 0;
        return set_info(bar, command, *toolbar_info_of(lp));
    case tb::get_button_info:
        if (!lp)
            return -1;
        return get_info(bar, command, *toolbar_info_of(lp));
    case tb::enable_button:
        return change_state(bar, command, tbstate::enabled, on);
    case tb::check_button:
        return change_state(bar, command, tbstate::checked, on);
    case tb::hide_button:
        return change_state(bar, command, tbstate::hidden, on);
    case tb::is_button_enabled:
        return state_of(bar, command, tbstate::enabled);
    case tb::is_button_checked:
        return state_of(bar, command, tbstate::checked);
    case override_key: {
        std::uint32_t mask = std::uint32_t(lp) & 0xFFFF, value = (std::uint32_t(lp) >> 16) & 0xFFFF;
        bar.overrides[std::uint32_t(wp)] = (bar.overrides[std::uint32_t(wp)] & ~mask) | (value & mask);
        return 1;
    }
    default:
        return std::nullopt;
    }
}

LResult bar_procedure(Window w, MessageId id, WParam wp, LParam lp)
{
    Bar* bar = find_bar(w);
    if (!bar)
        return default_window_procedure(w, id, wp, lp);
    if (auto result = toolbar_message(*bar, id, wp, lp)) {
        if (id != tb::button_count && id != tb::get_button && id != tb::get_button_info
            && id != tb::command_to_index && id != tb::get_item_rect)
            invalidate_rect(w, std::nullopt, false);
        return *result;
    }
    switch (id) {
    case msg::paint:
        paint_bar(w, *bar);
        return 0;
    case msg::erase_background:
        return 1;
    case msg::left_button_down:
    case msg::left_button_double_click:
        press(w, *bar, point_of(lp));
        return 0;
    case msg::mouse_move:
        if (bar->pressed >= 0) {
            bool inside = button_at(*bar, point_of(lp)) == bar->pressed;
            if (inside != bar->pressed_inside) {
                bar->pressed_inside = inside;
                invalidate_rect(w, std::nullopt, false);
            }
        }
        return 0;
    case msg::left_button_up:
        release(w, *bar, point_of(lp));
        return 0;
    case soft_key_pressed:
        press_soft_key(w, *bar, std::size_t(wp));
        return 0;
    case msg::capture_changed:
        if (bar->pressed >= 0) {
            bar->pressed = -1;
            invalidate_rect(w, std::nullopt, false);
        }
        return 0;
    case msg::destroy:
        for (auto& b : bar->buttons)
            drop_menu(b);
        bars().erase(w);
        return 0;
    default:
        return default_window_procedure(w, id, wp, lp);
    }
}

// Shows or hides one bar after its window's place in front.
void follow_foreground(Window w, Bar& bar, Window active, bool bars)
{
    bool wanted = bars && is_window(bar.owner) && top_level_ancestor(bar.owner) == active;
    bool visible = window_style(w) & ws::visible;
    if (visible && !wanted) {
        bar.shell_hidden = true;
        show_window(w, sw::hide);
    } else if (!visible && wanted && bar.shell_hidden) {
        bar.shell_hidden = false;
        show_window(w, sw::show_na);
        bring_window_to_top(w);
    } else if (visible && wanted)
        bring_window_to_top(w);
}

}

namespace detail {

void foreground_changed()
{
    Window active = active_window();
    bool bars_on = bars_shown();
    std::vector<Window> all;
    for (auto& [w, bar] : bars())
        all.push_back(w);
    for (Window w : all) {
        if (Bar* bar = find_bar(w))
            follow_foreground(w, *bar, active, bars_on);
    }
}

bool menu_bar_key(std::uint32_t key, bool down, std::uint32_t modifiers)
{
    // An open menu takes every key, the Back key closing it.
    if (menu_is_tracked())
        return false;
    Window active = active_window();
    if (has_soft_keys() && (key == vk::soft_1 || key == vk::soft_2)) {
        for (auto& [w, bar] : bars()) {
            if (top_level_ancestor(bar.owner) != active || !(window_style(w) & ws::visible))
                continue;
            // The press acts; its release only ends the key.
            if (down)
                post_message(w, soft_key_pressed, key == vk::soft_1 ? 0 : 1);
            return true;
        }
        return false;
    }
    for (auto& [w, bar] : bars()) {
        auto it = bar.overrides.find(key);
        if (it == bar.overrides.end() || !it->second || top_level_ancestor(bar.owner) != active
            || !(window_style(w) & ws::visible))
            continue;
        if (it->second & shmbof::notify) {
            std::uint32_t mods = modifiers | (down ? 0 : mod::key_up);
            post_message(bar.owner, msg::hot_key, key, LParam(mods | key << 16));
        }
        return true;
    }
    return false;
}

}

bool create_menu_bar(MenuBarInfo& info)
{
    info.bar = no_window;
    const Resources& resources = info.resources ? *info.resources : program_resources();
    const MenuBarTemplate* shape = resources.menu_bar(info.template_id);
    if (!shape || !is_window(info.parent))
        return false;
    static bool registered = register_window_class({ bar_class, bar_procedure, false, 0 }) || true;
    (void)registered;
    Rect area = bottom_bar_rect();
    WindowParams params;
    params.class_name = bar_class;
    // A child style without a parent: a top-level window that never takes the activation.
    params.style = ws::child;
    params.x = area.left;
    params.y = area.top;
    params.width = area.width();
    params.height = area.height();
    Window w = create_window(params);
    if (w == no_window)
        return false;
    Bar bar { info.parent };
    for (auto& t : shape->buttons) {
        ToolbarButton b { t.image, t.command, t.state, t.style, no_menu, t.text };
        if (t.string_id != 0)
            b.text = resources.string(t.string_id).value_or(u"");
        if (t.sub_menu != MenuBarTemplateButton::no_sub_menu && shape->menu_id != 0) {
            Menu whole = load_menu(resources, shape->menu_id);
            b.menu = sub_menu(whole, t.sub_menu);
            if (b.menu != no_menu)
                remove_menu(whole, std::uint32_t(t.sub_menu), mf::by_position);
            destroy_menu(whole);
        }
        bar.buttons.push_back(std::move(b));
    }
    bar.shell_hidden = true;
    Bar& stored = bars().insert_or_assign(w, std::move(bar)).first->second;
    follow_foreground(w, stored, active_window(), bars_shown());
    info.bar = w;
    return true;
}

int toolbar_button_count(Window bar)
{
    return find_bar(bar) ? int(send_message(bar, tb::button_count)) : 0;
}

bool toolbar_insert_button(Window bar, int index, const ToolbarButton& button)
{
    return find_bar(bar) && index >= 0
        && send_message(bar, tb::insert_button, WParam(index), toolbar_button_param(button));
}

bool toolbar_delete_button(Window bar, int index)
{
    return find_bar(bar) && index >= 0 && send_message(bar, tb::delete_button, WParam(index));
}

std::optional<ToolbarButton> toolbar_button(Window bar, int index)
{
    ToolbarButton b;
    if (!find_bar(bar) || index < 0
        || !send_message(bar, tb::get_button, WParam(index), toolbar_button_out_param(b)))
        return std::nullopt;
    return b;
}

std::optional<Rect> toolbar_item_rect(Window bar, int index)
{
    Rect r;
    if (!find_bar(bar) || index < 0
        || !send_message(bar, tb::get_item_rect, WParam(index), toolbar_rect_param(r)))
        return std::nullopt;
    return r.offset(window_rect(bar).top_left());
}

bool toolbar_set_button_info(Window bar, std::int32_t command, ToolbarButtonInfo info)
{
    return find_bar(bar) && send_message(bar, tb::set_button_info, WParam(command), toolbar_info_param(info));
}

bool toolbar_enable_button(Window bar, std::int32_t command, bool enable)
{
    return find_bar(bar) && send_message(bar, tb::enable_button, WParam(command), enable ? 1 : 0);
}

bool toolbar_check_button(Window bar, std::int32_t command, bool check)
{
    return find_bar(bar) && send_message(bar, tb::check_button, WParam(command), check ? 1 : 0);
}

int menu_bar_add_bitmap(
    Window w, const Resources& resources, std::uint32_t picture_id, int count, int width, int height)
{
    Bar* bar = find_bar(w);
    auto bytes = resources.picture(picture_id);
    if (!bar || !bytes || count < 1 || width < 1 || height < 1)
        return -1;
    PictureResult decoded = decode_picture(*bytes);
    if (!decoded.picture)
        return -1;
    const Bitmap& strip = *decoded.picture->bitmap;
    int available = std::min(count, strip.width() / width);
    if (available < 1 || strip.height() < height)
        return -1;
    int base = int(bar->images.size());
    for (int i = 0; i < available; ++i) {
        bar->images.push_back(
            Icon::from_bitmap(strip, Rect::from({ i * width, 0 }, { width, height }), 0xFF00FF));
        bar->greyed_images.push_back(bar->images.back() ? bar->images.back()->greyed() : nullptr);
    }
    invalidate_rect(w, std::nullopt, false);
    return base;
}

bool menu_bar_override_key(Window bar, std::uint32_t key, std::uint32_t mask, std::uint32_t value)
{
    return find_bar(bar)
        && send_message(bar, override_key, key, LParam((mask & 0xFFFF) | (value & 0xFFFF) << 16));
}

}
