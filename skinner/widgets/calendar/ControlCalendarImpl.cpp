#include "skinner/widgets/calendar/ControlCalendarImpl.h"

#include "platform/core/Window.h"
#include "platform/ui/Input.h"
#include "skinner/core/Container.h"
#include "skinner/widgets/calendar/ControlCalendar.h"
#include "skinner/core/Form.h"
#include "skinner/core/FormImpl.h"

namespace skinner {

ControlCalendarImpl::ControlCalendarImpl(
    ControlCalendar& owner, std::u16string_view class_name, std::uint32_t extra_style)
    : m_owner(&owner)
{
    platform::WindowParams params;
    params.class_name = class_name;
    params.title = u"DateTime";
    params.style = platform::ws::child | platform::ws::border | extra_style;
    params.parent = owner.get_form().window().handle();
    params.x = 0;
    params.y = 0;
    params.width = 0;
    params.height = 0;
    const platform::Window made = platform::create_window(params);
    if (made != platform::no_window)
        subclass(made);
}

ControlCalendarImpl::~ControlCalendarImpl()
{
    const platform::Window made = window();
    unsubclass();
    if (made != platform::no_window)
        platform::destroy_window(made);
}

platform::LResult ControlCalendarImpl::window_proc(
    platform::MessageId message, platform::WParam wparam, platform::LParam, MessageContext&)
{
    namespace msg = platform::msg;
    if (message == msg::set_focus) {
        m_owner->take_focus();
    } else if (message == msg::key_down && wparam == platform::vk::tab
        && !platform::is_key_down(platform::vk::control)) {
        m_owner->container().focus_next(!platform::is_key_down(platform::vk::shift));
    }
    return 0;
}

}
