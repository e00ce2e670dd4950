#include "skinner/widgets/buttons/TitleBarOk.h"

#include "platform/core/Message.h"
#include "platform/ui/Screen.h"
#include "platform/ui/WindowManager.h"
#include "skinner/widgets/buttons/ControlButtonBase.h"
#include "skinner/core/Form.h"

namespace skinner {

TitleBarOk::TitleBarOk(ControlButtonBase& button)
    : m_button(button)
{
    const platform::Window window = button.get_form().window().handle();
    platform::show_ok_button(window, true);
    subclass(window);
}

TitleBarOk::~TitleBarOk()
{
    // Empty when the window went first.
    const platform::Window hooked = window();
    unsubclass();
    platform::show_ok_button(hooked, false);
}

platform::LResult TitleBarOk::window_proc(
    platform::MessageId message, platform::WParam wparam, platform::LParam, MessageContext& context)
{
    if (message == platform::msg::command && (wparam & 0xFFFF) == platform::id_ok) {
        context.pass_on = false;
        m_button.click_at_centre();
    }
    return 0;
}

}
