#pragma once

#include "platform/core/Clock.h"
#include "platform/core/Message.h"
#include "platform/ui/Color.h"
#include "platform/core/Geometry.h"

#include <cstdint>
#include <optional>

// The common date controls: "SysMonthCal32" (a month calendar) and
// "SysDateTimePick32" (a date picker with a drop-down calendar, or with style
// dts::time_format a time picker with up and down buttons). Both are child
// windows drawn by the platform and driven by the pen and keys; they tell
// their parent of a change the user made with msg::notify. Setting a value
// by message tells nobody. Dates run from 1601 to 9999. GUI thread only.
//
// Pen and keys: a month calendar's arrows show the month before or after;
// a tap on a day selects it (sel_change, then select); Left and Right move the
// selection a day, Up and Down a week, Page Up and Page Down a month
// (sel_change). A picker shows "yyyy-mm-dd" or "hh:mm:ss"; a tap on a part
// selects it, Left and Right move between the parts, Up and Down (and a time
// picker's buttons) step the selected part, wrapping inside its range (a day
// that the month lacks becomes its last day); a date picker's button drops
// its calendar down, where a tap on a day takes that date and a tap outside
// closes it. Each change of the value sends datetime_change.
namespace platform {

namespace msg {
inline constexpr MessageId notify = 0x4E;
}

inline constexpr char16_t month_calendar_class[] = u"SysMonthCal32";
inline constexpr char16_t date_time_picker_class[] = u"SysDateTimePick32";

// Registers the classes named by the bits; false for none it knows.
namespace icc {
inline constexpr std::uint32_t date_classes = 0x100;
}

struct InitCommonControls {
    std::uint32_t size = 8;
    std::uint32_t classes = 0;
};

bool init_common_controls(const InitCommonControls&);

// Picker styles (their platform numbers).
namespace dts {
inline constexpr std::uint32_t up_down = 0x0001;
inline constexpr std::uint32_t time_format = 0x0009;
}

// Month calendar messages.
namespace mcm {
inline constexpr MessageId get_cur_sel = 0x1001; // 0, SystemTime out: true
inline constexpr MessageId set_cur_sel = 0x1002; // 0, SystemTime: false for no possible date
inline constexpr MessageId get_min_req_rect = 0x1009; // 0, Rect out: true
inline constexpr MessageId set_color = 0x100A; // index, ColorRef: the previous colour or -1
inline constexpr MessageId get_color = 0x100B; // index: the colour or -1
}

// Colour indices.
namespace mcsc {
inline constexpr int background = 0;
inline constexpr int text = 1;
inline constexpr int title_background = 2;
inline constexpr int title_text = 3;
inline constexpr int month_background = 4;
inline constexpr int trailing_text = 5; // days of the months before and after
}

// Picker messages.
namespace dtm {
inline constexpr MessageId get_system_time = 0x1001; // 0, SystemTime out: gdt::valid
inline constexpr MessageId set_system_time = 0x1002; // gdt::valid, SystemTime: false for no possible date
inline constexpr MessageId get_month_cal = 0x1008; // the drop-down calendar's window
}

namespace gdt {
inline constexpr LResult valid = 0;
inline constexpr LResult none = 1;
}

// Notifications: msg::notify to the parent, lparam the record (valid while
// the message is handled), wparam 0 (there are no control ids here).
struct NotifyHeader {
    Window from {};
    std::uintptr_t id = 0;
    std::int32_t code = 0;
};

namespace mcn {
inline constexpr std::int32_t sel_change = -749;
inline constexpr std::int32_t select = -746;
}

namespace dtn {
inline constexpr std::int32_t datetime_change = -759;
}

struct SelectionChange {
    NotifyHeader header;
    SystemTime start;
    SystemTime end;
};

struct DateTimeChange {
    NotifyHeader header;
    std::uint32_t flags = 0; // gdt::valid
    SystemTime time;
};

// Typed parameters of the messages and notifications.
inline LParam system_time_param(SystemTime& t)
{
    return LParam(&t);
}

inline SystemTime* system_time_of(LParam l)
{
    return reinterpret_cast<SystemTime*>(l);
}

inline LParam rect_param(Rect& r)
{
    return LParam(&r);
}

inline Rect* rect_of(LParam l)
{
    return reinterpret_cast<Rect*>(l);
}

inline const NotifyHeader* notify_header_of(LParam l)
{
    return reinterpret_cast<const NotifyHeader*>(l);
}

inline const SelectionChange* selection_change_of(LParam l)
{
    return reinterpret_cast<const SelectionChange*>(l);
}

inline const DateTimeChange* date_time_change_of(LParam l)
{
    return reinterpret_cast<const DateTimeChange*>(l);
}

// The messages through those parameters; nullopt or false when the window
// is no such control or refuses.
std::optional<SystemTime> month_calendar_selection(Window);
bool set_month_calendar_selection(Window, SystemTime);
std::optional<SystemTime> date_time_picker_value(Window);
bool set_date_time_picker_value(Window, SystemTime);

}
