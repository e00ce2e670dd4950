#include "skinner/controls/ControlButtonImplCaptionPocket.h"

#include "platform/ui/WindowManager.h"
#include "skinner/controls/ControlButtonBase.h"
#include "skinner/forms/Form.h"

namespace skinner {

ControlButtonImplCaptionPocket::ControlButtonImplCaptionPocket(ControlButtonBase& owner)
    : ControlButtonImpl(owner, false, false)
{
    set_text(owner.text());
}

void ControlButtonImplCaptionPocket::set_text(std::u16string_view text)
{
    platform::set_window_text(owner().get_form().window().handle(), text);
}

}
