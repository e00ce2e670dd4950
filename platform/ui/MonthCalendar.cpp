#include "platform/core/MessageQueue.h"
#include "platform/core/Window.h"
#include "platform/ui/detail/DateControls.h"
#include "platform/ui/CommonControls.h"
#include "platform/ui/DeviceContext.h"
#include "platform/ui/Input.h"
#include "platform/ui/Paint.h"
#include "platform/ui/ShellLook.h"
#include "platform/ui/WindowManager.h"

#include <array>
#include <map>

namespace platform {

using namespace detail;

namespace {

struct Calendar {
    SystemTime selection;
    int year = first_year;
    int month = 1;
    std::array<ColorRef, 6> colors { look::window, look::text, look::highlight, look::highlight_text,
        look::window, look::grey_text };
    Window picker {}; // set for a picker's drop-down
};

std::map<Window, Calendar>& calendars()
{
    static auto* all = new std::map<Window, Calendar>;
    return *all;
}

SystemTime today()
{
    SystemTime now = local_time();
    now.hour = now.minute = now.second = now.milliseconds = 0;
    return checked_date(now).value_or(SystemTime {});
}

Calendar& state(Window w)
{
    auto [it, made] = calendars().try_emplace(w);
    if (made) {
        it->second.selection = today();
        it->second.year = it->second.selection.year;
        it->second.month = it->second.selection.month;
    }
    return it->second;
}

struct Layout {
    std::int32_t margin = look::scaled(2);
    std::int32_t title = look::scaled(20);
    std::int32_t header = look::scaled(16);
    std::int32_t row = look::scaled(16);
    std::int32_t cell = look::scaled(22);

    Size minimum() const { return { 2 * margin + 7 * cell, 2 * margin + title + header + 6 * row }; }

    Rect title_rect() const { return { margin, margin, margin + 7 * cell, margin + title }; }

    Rect previous() const { return { margin, margin, margin + cell, margin + title }; }

    Rect next() const { return { margin + 6 * cell, margin, margin + 7 * cell, margin + title }; }

    Rect day(int row_index, int column) const
    {
        std::int32_t top = margin + title + header + row_index * row;
        return { margin + column * cell, top, margin + (column + 1) * cell, top + row };
    }
};

// The date in the first cell: the Monday on or before the shown month's first day.
SystemTime first_cell(const Calendar& c)
{
    SystemTime first;
    first.year = std::uint16_t(c.year);
    first.month = std::uint16_t(c.month);
    first.day = 1;
    return add_days(first, -weekday_from_monday(first));
}

bool same_day(const SystemTime& a, const SystemTime& b)
{
    return a.year == b.year && a.month == b.month && a.day == b.day;
}

void show_month_of(Calendar& c, const SystemTime& t)
{
    c.year = t.year;
    c.month = t.month;
}

void send_selection(Window w, const Calendar& c, std::int32_t code)
{
    SelectionChange change { { w, 0, code }, c.selection, c.selection };
    notify(window_parent(w), change.header, LParam(&change));
}

// A selection made by the user: the month follows it and the parent hears of it.
void select(Window w, Calendar& c, const SystemTime& date, bool chosen)
{
    bool changed = !same_day(date, c.selection);
    c.selection = date;
    show_month_of(c, date);
    invalidate_rect(w, std::nullopt, false);
    if (c.picker != no_window) {
        if (chosen)
            drop_down_closed(c.picker, date);
        return;
    }
    if (changed)
        send_selection(w, c, mcn::sel_change);
    if (chosen)
        send_selection(w, c, mcn::select);
}

void paint(Window w, Calendar& c)
{
    PaintScope scope(w);
    DeviceContext& dc = scope.dc();
    Layout l;
    Rect all = client_rect(w);
    dc.fill_rect(all, c.colors[mcsc::background]);
    if (window_style(w) & ws::border)
        look::frame_rect(dc, all, look::frame);
    Rect title = l.title_rect();
    dc.fill_rect(title, c.colors[mcsc::title_background]);
    static constexpr const char16_t* months[] = { u"January", u"February", u"March", u"April", u"May",
        u"June", u"July", u"August", u"September", u"October", u"November", u"December" };
    std::u16string caption = std::u16string(months[c.month - 1]) + u" "
        + std::u16string(1, u'0' + c.year / 1000) + std::u16string(1, u'0' + c.year / 100 % 10)
        + two_digits(c.year % 100);
    look::prepare_text(dc, c.colors[mcsc::title_text], true);
    dc.draw_text(caption, title, dt::center | dt::vcenter | dt::single_line | dt::no_prefix);
    look::arrow(dc, l.previous(), look::Arrow::left, c.colors[mcsc::title_text]);
    look::arrow(dc, l.next(), look::Arrow::right, c.colors[mcsc::title_text]);

    static constexpr const char16_t* weekdays[] = { u"Mo", u"Tu", u"We", u"Th", u"Fr", u"Sa", u"Su" };
    look::prepare_text(dc, c.colors[mcsc::text]);
    for (int column = 0; column < 7; ++column) {
        Rect r = l.day(0, column).offset({ 0, -l.header });
        dc.draw_text(weekdays[column], r, dt::center | dt::vcenter | dt::single_line | dt::no_prefix);
    }
    Rect grid { l.margin, l.day(0, 0).top, l.margin + 7 * l.cell, l.day(5, 0).bottom };
    dc.fill_rect(grid, c.colors[mcsc::month_background]);
    dc.fill_rect({ grid.left, grid.top - 1, grid.right, grid.top }, look::grey_text);
    SystemTime day = first_cell(c);
    for (int row = 0; row < 6; ++row) {
        for (int column = 0; column < 7; ++column, day = add_days(day, 1)) {
            Rect r = l.day(row, column);
            bool selected = same_day(day, c.selection);
            ColorRef color = selected  ? c.colors[mcsc::title_text]
                : day.month == c.month ? c.colors[mcsc::text]
                                       : c.colors[mcsc::trailing_text];
            if (selected)
                dc.fill_rect(r, c.colors[mcsc::title_background]);
            dc.set_text_color(color);
            std::u16string number = day.day < 10 ? std::u16string(1, u'0' + day.day) : two_digits(day.day);
            dc.draw_text(number, r, dt::center | dt::vcenter | dt::single_line | dt::no_prefix);
        }
    }
    dc.select_font(nullptr);
}

void press(Window w, Calendar& c, Point p)
{
    Layout l;
    if (c.picker != no_window && !client_rect(w).contains(p)) {
        drop_down_closed(c.picker, std::nullopt); // a tap outside closes the drop-down
        return;
    }
    if (l.previous().contains(p) || l.next().contains(p)) {
        SystemTime first;
        first.year = std::uint16_t(c.year);
        first.month = std::uint16_t(c.month);
        show_month_of(c, add_months(first, l.previous().contains(p) ? -1 : 1));
        invalidate_rect(w, std::nullopt, false);
        return;
    }
    for (int row = 0; row < 6; ++row) {
        for (int column = 0; column < 7; ++column) {
            if (l.day(row, column).contains(p)) {
                select(w, c, add_days(first_cell(c), row * 7 + column), true);
                return;
            }
        }
    }
}

void key(Window w, Calendar& c, std::uint32_t key)
{
    struct Step {
        std::uint32_t key;
        int days;
        int months;
    };

    static constexpr Step steps[] = { { vk::left, -1, 0 }, { vk::right, 1, 0 }, { vk::up, -7, 0 },
        { vk::down, 7, 0 }, { vk::prior, 0, -1 }, { vk::next, 0, 1 } };
    for (auto& s : steps) {
        if (s.key == key) {
            SystemTime moved = s.months ? add_months(c.selection, s.months) : add_days(c.selection, s.days);
            if (!same_day(moved, c.selection))
                select(w, c, moved, false);
            return;
        }
    }
}

std::optional<LResult> calendar_message(Window, Calendar& c, MessageId id, WParam wp, LParam lp)
{
    switch (id) {
    case mcm::get_cur_sel:
        if (!lp)
            return 0;
        *system_time_of(lp) = c.selection;
        return 1;
    case mcm::set_cur_sel: {
        if (!lp)
            return 0;
        SystemTime asked = *system_time_of(lp);
        asked.hour = asked.minute = asked.second = asked.milliseconds = 0;
        auto date = checked_date(asked);
        if (!date)
            return 0;
        c.selection = *date;
        show_month_of(c, *date);
        return 1;
    }
    case mcm::get_min_req_rect:
        if (!lp)
            return 0;
        *rect_of(lp) = Rect::from({}, Layout().minimum());
        return 1;
    case mcm::set_color: {
        if (wp >= c.colors.size())
            return -1;
        ColorRef before = c.colors[wp];
        c.colors[wp] = ColorRef(lp) & 0xFFFFFF;
        return LResult(before);
    }
    case mcm::get_color:
        return wp < c.colors.size() ? LResult(c.colors[wp]) : -1;
    default:
        return std::nullopt;
    }
}

}

namespace detail {

LResult month_calendar_procedure(Window w, MessageId id, WParam wp, LParam lp)
{
    if (id == msg::destroy) {
        calendars().erase(w);
        return 0;
    }
    Calendar& c = state(w);
    if (auto answer = calendar_message(w, c, id, wp, lp)) {
        if (id == mcm::set_cur_sel || id == mcm::set_color)
            invalidate_rect(w, std::nullopt, false);
        return *answer;
    }
    switch (id) {
    case msg::paint:
        paint(w, c);
        return 0;
    case msg::erase_background:
        return 1;
    case msg::left_button_down:
    case msg::left_button_double_click:
        if (c.picker == no_window)
            set_focus(w);
        press(w, c, point_of(lp));
        return 0;
    case msg::key_down:
        key(w, c, std::uint32_t(wp));
        return 0;
    case msg::capture_changed:
        if (c.picker != no_window && Window(std::uint32_t(lp)) != w && is_window_visible(w))
            drop_down_closed(c.picker, std::nullopt);
        return 0;
    default:
        return default_window_procedure(w, id, wp, lp);
    }
}

Window create_drop_down_calendar(Window picker)
{
    register_date_classes();
    WindowParams params;
    params.class_name = month_calendar_class;
    // A child style without a parent: a top-level window that never takes the activation.
    params.style = ws::child | ws::border;
    params.x = params.y = 0;
    Size size = Layout().minimum();
    params.width = size.width;
    params.height = size.height;
    Window w = create_window(params);
    if (w != no_window)
        state(w).picker = picker;
    return w;
}

}

}
