#include "skinner/widgets/buttons/ControlButton.h"

namespace skinner {

ControlButton::ControlButton(Container& container, std::u16string_view name, ControlMode mode)
    : ControlButtonBase(container, name, mode)
{
    make_impl();
}

void ControlButton::load()
{
    ControlButtonBase::load();
    make_impl();
}

void ControlButton::make_impl()
{
    // The old part goes first: a title-bar part unhooks the form window
    // before the new one hooks it.
    set_impl(nullptr);
    set_impl(ControlButtonImpl::create(*this));
    // The skin's "WantFocus" again, now that the part's answer counts.
    set_want_focus(Control::wants_focus());
}

}
