#include "skinner/controls/ControlButtonImpl.h"

#include "skinner/controls/ControlButtonBase.h"
#include "skinner/controls/ControlButtonImplCaptionPocket.h"
#include "skinner/controls/ControlButtonImplClosePocket.h"
#include "skinner/controls/ControlButtonImplOKPocket.h"

namespace skinner {

namespace {

using Maker = std::unique_ptr<ControlButtonImpl> (*)(ControlButtonBase&);

template<bool visible, bool focusable>
std::unique_ptr<ControlButtonImpl> plain(ControlButtonBase& owner)
{
    return std::make_unique<ControlButtonImpl>(owner, visible, focusable);
}

template<typename Part>
std::unique_ptr<ControlButtonImpl> make(ControlButtonBase& owner)
{
    return std::make_unique<Part>(owner);
}

struct PartRow {
    ButtonAction action;
    Maker make;
};

// Actions without a row get a plain part that is painted, hit and focused.
// The system-menu button has nothing to do on this platform; an invisible
// part keeps it from being painted, hit or focused, like the borders.
constexpr PartRow parts[] = {
    { ButtonAction::caption, make<ControlButtonImplCaptionPocket> },
    { ButtonAction::border_left, plain<false, false> },
    { ButtonAction::border_right, plain<false, false> },
    { ButtonAction::border_bottom, plain<false, false> },
    { ButtonAction::border_top, plain<false, false> },
    { ButtonAction::corner_bottom_left, plain<false, false> },
    { ButtonAction::corner_bottom_right, plain<false, false> },
    { ButtonAction::corner_top_left, plain<false, false> },
    { ButtonAction::corner_top_right, plain<false, false> },
    { ButtonAction::button_close, make<ControlButtonImplClosePocket> },
    { ButtonAction::button_sysmenu, plain<false, false> },
    { ButtonAction::button_ok, make<ControlButtonImplOKPocket> },
};

}

std::unique_ptr<ControlButtonImpl> ControlButtonImpl::create(ControlButtonBase& owner)
{
    for (const PartRow& row : parts)
        if (row.action == owner.action())
            return row.make(owner);
    return plain<true, true>(owner);
}

}
