#pragma once

#include "skinner/core/ControlSubclass.h"

#include <cstdint>
#include <string_view>

namespace skinner {

class ControlCalendar;

// The native date control of a calendar control: a child window of the
// form's window, hooked so that its focus and Tab keys follow the skinned
// form's. It owns the window and destroys it with itself.
class ControlCalendarImpl : public ControlSubclass {
public:
    // A window of the class with the extra style; window() is empty when the
    // platform made none.
    ControlCalendarImpl(ControlCalendar& owner, std::u16string_view class_name, std::uint32_t extra_style);
    ~ControlCalendarImpl() override;

    platform::LResult window_proc(platform::MessageId message, platform::WParam wparam,
        platform::LParam lparam, MessageContext& context) override;

private:
    ControlCalendar* m_owner;
};

}
