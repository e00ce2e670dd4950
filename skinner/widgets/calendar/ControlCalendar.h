#pragma once

#include "liba/DateTime.h"
#include "skinner/core/Control.h"
#include "skinner/widgets/calendar/ControlCalendarImpl.h"

#include <memory>
#include <string>

namespace skinner {

// One of the platform's date controls in a skinned form, chosen by the skin's
// "Appearance": "Calendar" (a month calendar), "DatePicker" or "TimePicker".
// The native window is made again at each load and keeps the value; while it
// exists it holds the value, else the control does. Colours: "Background",
// "TitleBackground", "Text", "TitleText". Another appearance makes no window
// and the control paints nothing of its own.
class ControlCalendar : public Control {
public:
    // Pixels around a month calendar.
    static constexpr std::int32_t calendar_border = 2;

    ControlCalendar(Container& container, std::u16string_view name, ControlMode mode = ControlMode::named);
    ~ControlCalendar() override;

    // The native window's value when it has one (the zero time when it has
    // none to give), else the stored one.
    liba::DateTime get_time() const;
    // The zero time (the default) shows now in the native window.
    void set_time(const liba::DateTime& value);

    void on_focus_gained() override;
    void on_focus_lost() override;
    void on_visible_changed(bool visible) override;
    void set_rect(Point position, Size size) override;
    void load() override;

    const std::u16string& appearance() const { return m_appearance; }

    Color background() const { return m_background; }

    Color title_background() const { return m_title_background; }

    Color text() const { return m_text; }

    Color title_text() const { return m_title_text; }

    // No window for an appearance the platform has no control for.
    platform::Window native_window() const;

private:
    void load_calendar();
    void create_impl();

    bool is_calendar() const { return m_appearance == u"Calendar"; }

    Color m_background {};
    Color m_title_background {};
    Color m_text {};
    Color m_title_text {};
    std::u16string m_appearance;
    std::unique_ptr<ControlCalendarImpl> m_impl;
    std::int32_t m_border = calendar_border;
    liba::DateTime m_value;
};

}
