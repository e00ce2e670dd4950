#include "skinner/controls/ControlButtonImplOKPocket.h"

#include "platform/Message.h"
#include "platform/ui/Screen.h"
#include "platform/ui/WindowManager.h"
#include "skinner/controls/ControlButtonBase.h"
#include "skinner/forms/Form.h"

namespace skinner {

ControlButtonImplOKPocket::ControlButtonImplOKPocket(ControlButtonBase& owner)
    : ControlButtonImpl(owner, false, false)
{
    const platform::Window window = owner.get_form().window().handle();
    platform::show_ok_button(window, true);
    subclass(window);
}

ControlButtonImplOKPocket::~ControlButtonImplOKPocket()
{
    const platform::Window hooked = window();
    unsubclass();
    platform::show_ok_button(hooked, false);
}

platform::LResult ControlButtonImplOKPocket::window_proc(
    platform::MessageId message, platform::WParam wparam, platform::LParam, MessageContext& context)
{
    if (message == platform::msg::command && (wparam & 0xFFFF) == platform::id_ok) {
        context.pass_on = false;
        owner().click_at_centre();
    }
    return 0;
}

}
