#include "platform/ui/CommonControls.h"

#include "platform/core/MessageQueue.h"
#include "platform/core/Window.h"
#include "platform/ui/detail/DateControls.h"
#include "platform/core/detail/MessageState.h"

namespace platform {

namespace detail {

int days_in_month(int year, int month)
{
    static constexpr int days[] = { 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31 };
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[(month - 1) % 12];
}

std::optional<SystemTime> checked_date(SystemTime t)
{
    FileTime ft;
    if (t.year < first_year || t.year > last_year || !system_time_to_file_time(t, ft))
        return std::nullopt;
    SystemTime full;
    file_time_to_system_time(ft, full);
    return full;
}

SystemTime add_days(const SystemTime& t, int days)
{
    FileTime ft;
    if (!system_time_to_file_time(t, ft))
        return t;
    constexpr std::int64_t day = 864000000000LL;
    std::int64_t moved = std::int64_t(ft) + std::int64_t(days) * day;
    SystemTime out;
    if (moved < 0 || !file_time_to_system_time(FileTime(moved), out) || out.year > last_year)
        return t;
    return out;
}

SystemTime add_months(const SystemTime& t, int months)
{
    int index = t.year * 12 + (t.month - 1) + months;
    int year = index / 12, month = index % 12 + 1;
    if (year < first_year || year > last_year)
        return t;
    SystemTime out = t;
    out.year = std::uint16_t(year);
    out.month = std::uint16_t(month);
    out.day = std::uint16_t(std::min<int>(t.day, days_in_month(year, month)));
    return checked_date(out).value_or(t);
}

int weekday_from_monday(const SystemTime& t)
{
    auto full = checked_date(t);
    return full ? (full->day_of_week + 6) % 7 : 0;
}

std::u16string two_digits(int n)
{
    return { char16_t(u'0' + n / 10 % 10), char16_t(u'0' + n % 10) };
}

void notify(Window to, const NotifyHeader&, LParam record)
{
    if (to != no_window)
        send_message(to, msg::notify, 0, record);
}

}

namespace {

bool is_class(Window w, const char16_t* name)
{
    return detail::fold_case(window_class_name(w)) == detail::fold_case(name);
}

template<typename Answer>
std::optional<SystemTime> ask(Window w, const char16_t* class_name, MessageId id, Answer ok)
{
    if (!is_class(w, class_name))
        return std::nullopt;
    SystemTime t;
    return ok(send_message(w, id, 0, system_time_param(t))) ? std::optional(t) : std::nullopt;
}

}

bool init_common_controls(const InitCommonControls& init)
{
    if (init.size != 8 || !(init.classes & icc::date_classes))
        return false;
    detail::register_date_classes();
    return true;
}

std::optional<SystemTime> month_calendar_selection(Window w)
{
    return ask(w, month_calendar_class, mcm::get_cur_sel, [](LResult r) { return r != 0; });
}

bool set_month_calendar_selection(Window w, SystemTime t)
{
    return is_class(w, month_calendar_class)
        && send_message(w, mcm::set_cur_sel, 0, system_time_param(t)) != 0;
}

std::optional<SystemTime> date_time_picker_value(Window w)
{
    return ask(w, date_time_picker_class, dtm::get_system_time, [](LResult r) { return r == gdt::valid; });
}

bool set_date_time_picker_value(Window w, SystemTime t)
{
    return is_class(w, date_time_picker_class)
        && send_message(w, dtm::set_system_time, WParam(gdt::valid), system_time_param(t)) != 0;
}

}
