#include "skinner/widgets/buttons/ControlButtonImplCaptionPocket.h"

#include "platform/ui/WindowManager.h"
#include "skinner/widgets/buttons/ControlButtonBase.h"
#include "skinner/core/Form.h"

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
