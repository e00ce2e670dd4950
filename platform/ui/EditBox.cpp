#include "platform/ui/EditBox.h"

#include "platform/core/MessageQueue.h"
#include "platform/core/Window.h"
#include "platform/ui/detail/EditBox.h"
#include "platform/ui/DeviceContext.h"
#include "platform/ui/Font.h"
#include "platform/ui/Input.h"
#include "platform/ui/Paint.h"
#include "platform/ui/ShellLook.h"
#include "platform/ui/WindowManager.h"

#include <algorithm>
#include <map>

namespace platform {

namespace {

struct Box {
    std::size_t caret = 0;
    std::size_t anchor = 0; // the selection runs from here to the caret
    std::int32_t scroll = 0; // pixels of text left of the view
    std::uint32_t input_mode = im::text;
    bool read_only = false;
};

std::map<Window, Box>& boxes()
{
    static auto* all = new std::map<Window, Box>;
    return *all;
}

bool is_edit(Window w)
{
    std::u16string name = window_class_name(w);
    std::ranges::transform(name, name.begin(), [](char16_t c) { return c >= u'a' && c <= u'z' ? char16_t(c - 32) : c; });
    return name == edit_class;
}

// The box's state, its caret kept inside a text that may have changed.
Box& box(Window w)
{
    auto [it, made] = boxes().try_emplace(w);
    if (made)
        it->second.read_only = window_style(w) & es::read_only;
    const std::size_t length = window_text(w).size();
    it->second.caret = std::min(it->second.caret, length);
    it->second.anchor = std::min(it->second.anchor, length);
    return it->second;
}

std::size_t selection_start(const Box& b)
{
    return std::min(b.caret, b.anchor);
}

std::size_t selection_end(const Box& b)
{
    return std::max(b.caret, b.anchor);
}

const Font& font()
{
    return look::font();
}

std::int32_t inset()
{
    return look::scaled(3);
}

void changed(Window w)
{
    invalidate_rect(w, std::nullopt, false);
    const Window parent = window_parent(w);
    if (parent != no_window)
        send_message(parent, msg::command, WParam(en::change << 16), LParam(w));
}

// Replaces the selection by the text.
void replace_selection(Window w, Box& b, std::u16string_view text)
{
    std::u16string all = window_text(w);
    const std::size_t start = selection_start(b);
    all.replace(start, selection_end(b) - start, text);
    set_window_text(w, all);
    b.caret = b.anchor = start + text.size();
    changed(w);
}

void move_caret(Window w, Box& b, std::size_t to)
{
    b.caret = to;
    if (!is_key_down(vk::shift))
        b.anchor = to;
    invalidate_rect(w, std::nullopt, false);
}

void on_character(Window w, Box& b, char16_t c)
{
    if (b.read_only)
        return;
    if (c == u'\b') {
        if (selection_start(b) == selection_end(b)) {
            if (b.caret == 0)
                return;
            b.anchor = b.caret - 1;
        }
        replace_selection(w, b, {});
        return;
    }
    if (c >= 32)
        replace_selection(w, b, std::u16string_view(&c, 1));
}

void on_key(Window w, Box& b, std::uint32_t key)
{
    const std::size_t length = window_text(w).size();
    switch (key) {
    case vk::left:
        move_caret(w, b, b.caret > 0 ? b.caret - 1 : 0);
        break;
    case vk::right:
        move_caret(w, b, std::min(b.caret + 1, length));
        break;
    case vk::home:
        move_caret(w, b, 0);
        break;
    case vk::end:
        move_caret(w, b, length);
        break;
    case vk::del:
        if (b.read_only)
            break;
        if (selection_start(b) == selection_end(b)) {
            if (b.caret == length)
                break;
            b.anchor = b.caret + 1;
        }
        replace_selection(w, b, {});
        break;
    default:
        break;
    }
}

// The character whose left edge lies nearest to the point.
std::size_t position_at(Window w, const Box& b, std::int32_t x)
{
    const std::u16string text = window_text(w);
    const std::int32_t target = x - inset() + b.scroll;
    std::size_t best = 0;
    std::int32_t best_distance = std::abs(target);
    for (std::size_t i = 1; i <= text.size(); ++i) {
        const std::int32_t distance = std::abs(font().width(std::u16string_view(text).substr(0, i)) - target);
        if (distance < best_distance) {
            best = i;
            best_distance = distance;
        }
    }
    return best;
}

void paint(Window w, Box& b)
{
    PaintScope scope(w);
    DeviceContext& dc = scope.dc();
    const Rect all = client_rect(w);
    const bool focused = focus_window() == w;
    const std::u16string text = window_text(w);
    dc.fill_rect(all, look::window);
    if (window_style(w) & ws::border)
        look::frame_rect(dc, all, look::frame);
    const std::int32_t view = std::max(all.width() - 2 * inset(), 1);
    const std::int32_t caret_x = font().width(std::u16string_view(text).substr(0, b.caret));
    b.scroll = std::clamp(b.scroll, std::max(caret_x - view, 0), caret_x);
    const std::int32_t left = all.left + inset() - b.scroll;
    Rect line { left, all.top, all.right + b.scroll, all.bottom };
    look::prepare_text(dc, window_style(w) & ws::disabled ? look::grey_text : look::text);
    dc.draw_text(text, line, dt::left | dt::vcenter | dt::single_line | dt::no_prefix);
    const std::size_t start = selection_start(b), end = selection_end(b);
    const std::int32_t height = font().line_height();
    const std::int32_t top = all.top + (all.height() - height) / 2;
    if (focused && start != end) {
        const std::int32_t from = left + font().width(std::u16string_view(text).substr(0, start));
        const std::int32_t to = left + font().width(std::u16string_view(text).substr(0, end));
        dc.fill_rect({ from, top, to, top + height }, look::highlight);
        look::prepare_text(dc, look::highlight_text);
        Rect selected { from, all.top, to, all.bottom };
        dc.draw_text(std::u16string_view(text).substr(start, end - start), selected,
            dt::left | dt::vcenter | dt::single_line | dt::no_prefix);
    }
    if (focused)
        dc.fill_rect({ left + caret_x, top, left + caret_x + 1, top + height }, look::text);
    dc.select_font(nullptr);
}

}

namespace detail {

LResult edit_box_procedure(Window w, MessageId id, WParam wp, LParam lp)
{
    switch (id) {
    case msg::paint:
        paint(w, box(w));
        return 0;
    case msg::erase_background:
        return 1;
    case msg::character:
        on_character(w, box(w), char16_t(wp));
        return 0;
    case msg::key_down:
        on_key(w, box(w), std::uint32_t(wp));
        return 0;
    case msg::left_button_down: {
        set_focus(w);
        Box& b = box(w);
        move_caret(w, b, position_at(w, b, point_of(lp).x));
        return 0;
    }
    case msg::set_focus:
    case msg::kill_focus:
        invalidate_rect(w, std::nullopt, false);
        return 0;
    case em::get_sel: {
        const Box& b = box(w);
        return LResult(selection_start(b) | selection_end(b) << 16);
    }
    case em::set_sel: {
        Box& b = box(w);
        const std::size_t length = window_text(w).size();
        const auto start = std::int32_t(wp), end = std::int32_t(lp);
        if (start < 0) {
            b.anchor = b.caret;
        } else {
            b.anchor = std::min(std::size_t(start), length);
            b.caret = end < 0 ? length : std::min(std::size_t(end), length);
        }
        invalidate_rect(w, std::nullopt, false);
        return 1;
    }
    case em::set_read_only:
        box(w).read_only = wp != 0;
        invalidate_rect(w, std::nullopt, false);
        return 1;
    case em::set_input_mode:
        box(w).input_mode = std::uint32_t(lp);
        return 1;
    case em::get_input_mode:
        return LResult(box(w).input_mode);
    case msg::destroy:
        boxes().erase(w);
        return 0;
    default:
        return default_window_procedure(w, id, wp, lp);
    }
}

}

bool set_edit_text(Window w, std::u16string_view text)
{
    if (!is_edit(w))
        return false;
    set_window_text(w, text);
    Box& b = box(w);
    b.caret = b.anchor = text.size();
    invalidate_rect(w, std::nullopt, false);
    return true;
}

EditSelection edit_selection(Window w)
{
    if (!is_edit(w))
        return {};
    const Box& b = box(w);
    return { selection_start(b), selection_end(b) };
}

bool is_edit_read_only(Window w)
{
    return is_edit(w) && box(w).read_only;
}

}
