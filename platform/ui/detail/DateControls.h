#pragma once

// Shared by the month calendar and the date-time picker only.

#include "platform/ui/CommonControls.h"

#include <string>

namespace platform::detail {

inline constexpr int first_year = 1601;
inline constexpr int last_year = 9999;

int days_in_month(int year, int month);
// The date with the day of week filled in and the time of day kept; nullopt
// for no possible date or one outside first_year..last_year.
std::optional<SystemTime> checked_date(SystemTime);
// Days later (or earlier); the date itself when that leaves the range.
SystemTime add_days(const SystemTime&, int days);
// Months later (or earlier), the day cut to the month's last.
SystemTime add_months(const SystemTime&, int months);
// 0 Monday .. 6 Sunday.
int weekday_from_monday(const SystemTime&);
std::u16string two_digits(int);

// Notifies the parent (or the calendar's notify target) synchronously.
void notify(Window to, const NotifyHeader&, LParam record);

// Registers both classes (again is harmless).
void register_date_classes();
LResult month_calendar_procedure(Window, MessageId, WParam, LParam);
LResult date_time_picker_procedure(Window, MessageId, WParam, LParam);

// The calendar that a picker drops down: it notifies the picker instead of
// a parent, and hides itself when a day is chosen or a tap falls outside.
Window create_drop_down_calendar(Window picker);
// The drop-down closed, with the date chosen or none.
void drop_down_closed(Window picker, std::optional<SystemTime> chosen);

}
