#include "skinner/widgets/calendar/ControlCalendar.h"

#include "platform/core/MessageQueue.h"
#include "platform/ui/CommonControls.h"
#include "platform/ui/WindowManager.h"
#include "skinner/core/Form.h"
#include "skinner/core/FormImpl.h"

namespace skinner {

namespace {

struct Appearance {
    std::u16string_view name;
    const char16_t* class_name;
    std::uint32_t extra_style;
};

constexpr Appearance appearances[] = {
    { u"Calendar", platform::month_calendar_class, 0 },
    { u"DatePicker", platform::date_time_picker_class, 0 },
    { u"TimePicker", platform::date_time_picker_class, platform::dts::time_format },
};

const Appearance* find_appearance(std::u16string_view name)
{
    for (const Appearance& a : appearances)
        if (a.name == name)
            return &a;
    return nullptr;
}

constexpr std::uint32_t move_flags
    = platform::swp::no_z_order | platform::swp::no_activate | platform::swp::no_owner_z_order;

}

ControlCalendar::ControlCalendar(Container& container, std::u16string_view name, ControlMode mode)
    : Control(container, name, mode)
{
    load_calendar();
    update_layout();
}

ControlCalendar::~ControlCalendar() = default;

void ControlCalendar::load()
{
    Control::load();
    load_calendar();
}

void ControlCalendar::load_calendar()
{
    const liba::DateTime shown = get_time();
    m_appearance = get_property_string(u"Appearance", u"Calendar");
    m_background = get_property_color(u"Background", {});
    m_title_background = get_property_color(u"TitleBackground", {});
    m_text = get_property_color(u"Text", {});
    m_title_text = get_property_color(u"TitleText", {});
    create_impl();
    set_time(shown);
    // The new window takes the control's place (a calendar also its size).
    set_rect(position(), size());
}

void ControlCalendar::create_impl()
{
    m_impl.reset();
    const Appearance* appearance = find_appearance(m_appearance);
    if (!appearance)
        return;
    platform::init_common_controls({ 8, platform::icc::date_classes });
    m_impl = std::make_unique<ControlCalendarImpl>(*this, appearance->class_name, appearance->extra_style);
    const platform::Window native = m_impl->window();
    if (native == platform::no_window) {
        m_impl.reset();
        return;
    }
    platform::show_window(native, is_visible() ? platform::sw::show_na : platform::sw::hide);
    const platform::Window target = is_calendar()
        ? native
        : platform::Window(std::uint32_t(platform::send_message(native, platform::dtm::get_month_cal, 0, 0)));
    if (target == platform::no_window)
        return;
    const std::pair<int, Color> colours[] = {
        { platform::mcsc::text, m_text },
        { platform::mcsc::title_text, m_title_text },
        { platform::mcsc::month_background, m_background },
        { platform::mcsc::title_background, m_title_background },
    };
    for (const auto& [index, colour] : colours)
        platform::send_message(
            target, platform::mcm::set_color, platform::WParam(index), platform::LParam(color_ref(colour)));
}

platform::Window ControlCalendar::native_window() const
{
    return m_impl ? m_impl->window() : platform::no_window;
}

liba::DateTime ControlCalendar::get_time() const
{
    const platform::Window native = native_window();
    if (native == platform::no_window)
        return m_value;
    const std::optional<platform::SystemTime> value = is_calendar()
        ? platform::month_calendar_selection(native)
        : platform::date_time_picker_value(native);
    return value ? liba::DateTime(*value) : liba::DateTime();
}

void ControlCalendar::set_time(const liba::DateTime& value)
{
    m_value = value;
    const platform::Window native = native_window();
    if (native == platform::no_window)
        return;
    // The zero time is no time at all: a control without one shows now.
    const platform::SystemTime shown
        = value.file_time() == 0 ? liba::DateTime::now().system_time() : value.system_time();
    if (is_calendar())
        platform::set_month_calendar_selection(native, shown);
    else
        platform::set_date_time_picker_value(native, shown);
}

void ControlCalendar::on_focus_gained()
{
    if (const platform::Window native = native_window();
        native != platform::no_window && platform::focus_window() != native)
        platform::set_focus(native);
    invalidate();
}

void ControlCalendar::on_focus_lost()
{
    if (native_window() != platform::no_window && platform::focus_window() == native_window())
        platform::set_focus(get_form().window().handle());
    invalidate();
}

void ControlCalendar::on_visible_changed(bool visible)
{
    if (const platform::Window native = native_window(); native != platform::no_window)
        platform::show_window(native, visible ? platform::sw::show_na : platform::sw::hide);
}

void ControlCalendar::set_rect(Point position, Size size)
{
    const platform::Window native = native_window();
    if (native == platform::no_window)
        return;
    if (is_calendar()) {
        platform::Rect minimum;
        platform::send_message(native, platform::mcm::get_min_req_rect, 0, platform::rect_param(minimum));
        const Size wanted { minimum.width() + 2 * m_border, minimum.height() + 2 * m_border };
        Control::set_rect(position, wanted);
        platform::set_window_pos(native, platform::no_window,
            { position.x + m_border, position.y + m_border, position.x + m_border + minimum.width(),
                position.y + m_border + minimum.height() },
            move_flags);
        return;
    }
    Control::set_rect(position, size);
    platform::set_window_pos(native, platform::no_window,
        { position.x, position.y, position.x + size.width, position.y + size.height }, move_flags);
}

}
