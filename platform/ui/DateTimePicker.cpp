#include "platform/core/MessageQueue.h"
#include "platform/core/Window.h"
#include "platform/ui/detail/DateControls.h"
#include "platform/ui/CommonControls.h"
#include "platform/ui/DeviceContext.h"
#include "platform/ui/Font.h"
#include "platform/ui/Input.h"
#include "platform/ui/Paint.h"
#include "platform/ui/Screen.h"
#include "platform/ui/ShellLook.h"
#include "platform/ui/WindowManager.h"

#include <map>

namespace platform {

using namespace detail;

namespace {

struct Picker {
    SystemTime value;
    int field = 0; // 0..2: year, month, day or hour, minute, second
    Window calendar {};
    bool dropped = false;
    // Digits typed into the field so far (none: the value shows).
    int typed = 0;
    int typed_digits = 0;
};

std::map<Window, Picker>& pickers()
{
    static auto* all = new std::map<Window, Picker>;
    return *all;
}

Picker* find_picker(Window w)
{
    auto it = pickers().find(w);
    return it == pickers().end() ? nullptr : &it->second;
}

bool is_time(Window w)
{
    return (window_style(w) & dts::time_format) == dts::time_format;
}

Picker& state(Window w)
{
    auto [it, made] = pickers().try_emplace(w);
    if (made) {
        it->second.value = checked_date(local_time()).value_or(SystemTime {});
        it->second.value.milliseconds = 0;
        if (!is_time(w))
            it->second.calendar = create_drop_down_calendar(w);
    }
    return it->second;
}

std::u16string text_of(Window w, const SystemTime& t)
{
    if (is_time(w))
        return two_digits(t.hour) + u":" + two_digits(t.minute) + u":" + two_digits(t.second);
    return two_digits(t.year / 100) + two_digits(t.year % 100) + u"-" + two_digits(t.month) + u"-"
        + two_digits(t.day);
}

// Where each part of the text starts and ends, in characters.
std::array<std::pair<std::size_t, std::size_t>, 3> parts(Window w)
{
    if (is_time(w))
        return { { { 0, 2 }, { 3, 5 }, { 6, 8 } } };
    return { { { 0, 4 }, { 5, 7 }, { 8, 10 } } };
}

// The text shown: the value, with the digits being typed in their field.
std::u16string text_of(Window w, const Picker& p)
{
    std::u16string text = text_of(w, p.value);
    if (p.typed_digits == 0)
        return text;
    auto [begin, end] = parts(w)[std::size_t(p.field)];
    std::u16string digits;
    for (int value = p.typed, i = 0; i < p.typed_digits; ++i, value /= 10)
        digits.insert(digits.begin(), char16_t(u'0' + value % 10));
    digits.insert(0, end - begin - std::min(digits.size(), end - begin), u' ');
    return text.replace(begin, end - begin, digits);
}

struct Layout {
    Rect text;
    Rect button;
};

Layout layout(Window w)
{
    Rect all = client_rect(w);
    std::int32_t border = (window_style(w) & ws::border) ? 1 : 0;
    std::int32_t button = std::min(look::scaled(16), all.width() / 2);
    return { { all.left + border + look::scaled(3), all.top + border, all.right - border - button,
                 all.bottom - border },
        { all.right - border - button, all.top + border, all.right - border, all.bottom - border } };
}

// The parts' rectangles in the client area.
std::array<Rect, 3> part_rects(Window w, const Picker& p)
{
    const Font& font = look::font();
    std::u16string text = text_of(w, p);
    Rect area = layout(w).text;
    std::array<Rect, 3> rects;
    auto spans = parts(w);
    for (std::size_t i = 0; i < 3; ++i) {
        std::int32_t left = area.left + font.width(std::u16string_view(text).substr(0, spans[i].first));
        std::int32_t right = area.left + font.width(std::u16string_view(text).substr(0, spans[i].second));
        rects[i] = { left, area.top + 2, right + 1, area.bottom - 2 };
    }
    return rects;
}

void send_change(Window w, const Picker& p)
{
    DateTimeChange change { { w, 0, dtn::datetime_change }, std::uint32_t(gdt::valid), p.value };
    notify(window_parent(w), change.header, LParam(&change));
}

// A value the user made: shown and told.
void change_to(Window w, Picker& p, SystemTime value)
{
    auto checked = checked_date(value);
    if (!checked || *checked == p.value)
        return;
    p.value = *checked;
    invalidate_rect(w, std::nullopt, false);
    send_change(w, p);
}

int wrap(int value, int low, int high)
{
    int span = high - low + 1;
    return low + ((value - low) % span + span) % span;
}

void step(Window w, Picker& p, int delta)
{
    SystemTime t = p.value;
    if (is_time(w)) {
        std::uint16_t* fields[] = { &t.hour, &t.minute, &t.second };
        int high = p.field == 0 ? 23 : 59;
        *fields[p.field] = std::uint16_t(wrap(*fields[p.field] + delta, 0, high));
    } else if (p.field == 0)
        t.year = std::uint16_t(std::clamp(t.year + delta, first_year, last_year));
    else if (p.field == 1)
        t.month = std::uint16_t(wrap(t.month + delta, 1, 12));
    else
        t.day = std::uint16_t(wrap(t.day + delta, 1, days_in_month(t.year, t.month)));
    t.day = std::uint16_t(std::min<int>(t.day, days_in_month(t.year, t.month)));
    change_to(w, p, t);
}

// The range of the field, for the value as it stands.
std::pair<int, int> field_range(Window w, const Picker& p)
{
    if (is_time(w))
        return { 0, p.field == 0 ? 23 : 59 };
    if (p.field == 0)
        return { first_year, last_year };
    if (p.field == 1)
        return { 1, 12 };
    return { 1, days_in_month(p.value.year, p.value.month) };
}

void set_field(Window w, Picker& p, int value)
{
    SystemTime t = p.value;
    std::uint16_t* fields[] = { &t.year, &t.month, &t.day };
    if (is_time(w)) {
        fields[0] = &t.hour;
        fields[1] = &t.minute;
        fields[2] = &t.second;
    }
    *fields[p.field] = std::uint16_t(value);
    t.day = std::uint16_t(std::min<int>(t.day, days_in_month(t.year, t.month)));
    change_to(w, p, t);
}

void select_field(Window w, Picker& p, int field)
{
    p.field = std::clamp(field, 0, 2);
    p.typed = p.typed_digits = 0;
    invalidate_rect(w, std::nullopt, false);
}

// Digits typed into a field replace its value: a year takes four, the other
// fields two, or one when no second could follow it; a value the field cannot
// hold starts again from the digit. A complete field moves on to the next.
void type_digit(Window w, Picker& p, int digit)
{
    const int width = !is_time(w) && p.field == 0 ? 4 : 2;
    const auto [low, high] = field_range(w, p);
    p.typed = p.typed * 10 + digit;
    ++p.typed_digits;
    if (width == 2 && p.typed > high) {
        p.typed = digit;
        p.typed_digits = 1;
    }
    const bool complete = p.typed_digits == width || p.typed * 10 > high;
    if (width == 2 && p.typed >= low)
        set_field(w, p, p.typed);
    if (complete) {
        if (width == 4 && p.typed >= low && p.typed <= high)
            set_field(w, p, p.typed);
        select_field(w, p, p.field < 2 ? p.field + 1 : p.field);
        return;
    }
    invalidate_rect(w, std::nullopt, false);
}

void drop_down(Window w, Picker& p)
{
    if (p.calendar == no_window)
        return;
    set_month_calendar_selection(p.calendar, p.value);
    Rect picker = window_rect(w);
    Rect cal = window_rect(p.calendar);
    Size screen = screen_size();
    Point at { std::clamp(picker.left, 0, std::max(0, screen.width - cal.width())), picker.bottom };
    if (at.y + cal.height() > screen.height)
        at.y = std::max(0, picker.top - cal.height());
    move_window(p.calendar, Rect::from(at, cal.size()));
    show_window(p.calendar, sw::show_na);
    bring_window_to_top(p.calendar);
    p.dropped = true;
    set_capture(p.calendar);
    invalidate_rect(w, std::nullopt, false);
}

void paint(Window w, Picker& p)
{
    PaintScope scope(w);
    DeviceContext& dc = scope.dc();
    Rect all = client_rect(w);
    dc.fill_rect(all, look::window);
    if (window_style(w) & ws::border)
        look::frame_rect(dc, all, look::frame);
    Layout l = layout(w);
    std::u16string text = text_of(w, p);
    bool focused = focus_window() == w;
    auto rects = part_rects(w, p);
    if (focused)
        dc.fill_rect(rects[std::size_t(p.field)], look::highlight);
    look::prepare_text(dc, look::text);
    Rect line = l.text;
    dc.draw_text(text, line, dt::left | dt::vcenter | dt::single_line | dt::no_prefix);
    if (focused) {
        // The selected part again, in the highlight's text colour.
        auto span = parts(w)[std::size_t(p.field)];
        dc.save();
        dc.intersect_clip(rects[std::size_t(p.field)]);
        dc.set_text_color(look::highlight_text);
        Rect again = l.text;
        dc.draw_text(text, again, dt::left | dt::vcenter | dt::single_line | dt::no_prefix);
        dc.restore();
        (void)span;
    }
    Rect b = l.button;
    dc.fill_rect(b, p.dropped ? look::button_checked : look::bar);
    dc.fill_rect({ b.left, b.top, b.left + 1, b.bottom }, look::bar_line);
    if (is_time(w)) {
        Rect up { b.left, b.top, b.right, b.top + b.height() / 2 };
        Rect down { b.left, up.bottom, b.right, b.bottom };
        dc.fill_rect({ b.left, up.bottom, b.right, up.bottom + 1 }, look::bar_line);
        look::arrow(dc, up, look::Arrow::up, look::text);
        look::arrow(dc, down, look::Arrow::down, look::text);
    } else
        look::arrow(dc, b, look::Arrow::down, look::text);
    dc.select_font(nullptr);
}

void press(Window w, Picker& p, Point at)
{
    set_focus(w);
    Layout l = layout(w);
    if (l.button.contains(at)) {
        if (is_time(w))
            step(w, p, at.y < l.button.top + l.button.height() / 2 ? 1 : -1);
        else
            drop_down(w, p);
        return;
    }
    auto rects = part_rects(w, p);
    for (int i = 0; i < 3; ++i) {
        if (at.x < rects[std::size_t(i)].right || i == 2) {
            select_field(w, p, i);
            break;
        }
    }
}

void key(Window w, Picker& p, std::uint32_t k)
{
    if (k >= '0' && k <= '9') {
        type_digit(w, p, int(k - '0'));
        return;
    }
    switch (k) {
    case vk::left:
    case vk::right:
        select_field(w, p, p.field + (k == vk::left ? -1 : 1));
        break;
    // A separator ends the field being typed.
    case vk::oem_minus:
    case vk::oem_period:
    case vk::oem_comma:
    case vk::oem_1:
    case vk::oem_2:
    case vk::space:
        select_field(w, p, p.typed_digits > 0 ? p.field + 1 : p.field);
        break;
    case vk::up:
    case vk::down:
        p.typed = p.typed_digits = 0;
        step(w, p, k == vk::up ? 1 : -1);
        break;
    case vk::escape:
        if (p.dropped)
            drop_down_closed(w, std::nullopt);
        break;
    default:
        break;
    }
}

}

namespace detail {

void drop_down_closed(Window w, std::optional<SystemTime> chosen)
{
    Picker* p = find_picker(w);
    if (!p || !p->dropped)
        return;
    p->dropped = false;
    show_window(p->calendar, sw::hide);
    if (capture_window() == p->calendar)
        release_capture();
    invalidate_rect(w, std::nullopt, false);
    if (chosen) {
        SystemTime t = p->value;
        t.year = chosen->year;
        t.month = chosen->month;
        t.day = chosen->day;
        change_to(w, *p, t);
    }
}

LResult date_time_picker_procedure(Window w, MessageId id, WParam wp, LParam lp)
{
    if (id == msg::destroy) {
        if (Picker* p = find_picker(w); p && p->calendar != no_window)
            destroy_window(p->calendar);
        pickers().erase(w);
        return 0;
    }
    Picker& p = state(w);
    switch (id) {
    case dtm::get_system_time:
        if (!lp)
            return gdt::none;
        *system_time_of(lp) = p.value;
        return gdt::valid;
    case dtm::set_system_time: {
        if (LResult(wp) != gdt::valid || !lp)
            return 0;
        SystemTime asked = *system_time_of(lp);
        asked.milliseconds = 0;
        auto checked = checked_date(asked);
        if (!checked)
            return 0;
        p.value = *checked;
        invalidate_rect(w, std::nullopt, false);
        return 1;
    }
    case dtm::get_month_cal:
        return LResult(p.calendar);
    case msg::paint:
        paint(w, p);
        return 0;
    case msg::erase_background:
        return 1;
    case msg::set_focus:
    case msg::kill_focus:
        p.typed = p.typed_digits = 0;
        invalidate_rect(w, std::nullopt, false);
        return 0;
    case msg::left_button_down:
    case msg::left_button_double_click:
        press(w, p, point_of(lp));
        return 0;
    case msg::key_down:
        key(w, p, std::uint32_t(wp));
        return 0;
    default:
        return default_window_procedure(w, id, wp, lp);
    }
}

void register_date_classes()
{
    register_window_class({ month_calendar_class, month_calendar_procedure, false, 0 });
    register_window_class({ date_time_picker_class, date_time_picker_procedure, false, 0 });
}

}

}
