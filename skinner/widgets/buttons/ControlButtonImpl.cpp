#include "skinner/widgets/buttons/ControlButtonImpl.h"

#include "skinner/skin/Edition.h"
#include "skinner/widgets/buttons/ControlButtonBase.h"
#include "skinner/widgets/buttons/ControlButtonImplCaptionPocket.h"
#include "skinner/widgets/buttons/ControlButtonImplClosePocket.h"
#include "skinner/widgets/buttons/ControlButtonImplMenu5Pocket.h"
#include "skinner/widgets/buttons/ControlButtonImplMenu5PocketOK.h"
#include "skinner/widgets/buttons/ControlButtonCloseSmartphone.h"
#include "skinner/widgets/buttons/ControlButtonImplCaptionSmartphone.h"
#include "skinner/widgets/buttons/ControlButtonImplMenuSmartphone.h"
#include "skinner/widgets/buttons/ControlButtonImplOKPocket.h"

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

std::unique_ptr<ControlButtonImpl> menu_entry_menu(ControlButtonBase& owner)
{
    return std::make_unique<ControlButtonImplMenu5Pocket>(owner, u"#smartphone_menu#");
}

std::unique_ptr<ControlButtonImpl> menu_entry_ok(ControlButtonBase& owner)
{
    return std::make_unique<ControlButtonImplMenu5Pocket>(owner, u"#smartphone_ok#");
}

template<const char16_t* label>
std::unique_ptr<ControlButtonImpl> soft_key_entry(ControlButtonBase& owner)
{
    return std::make_unique<ControlButtonImplMenuSmartphone>(owner, label);
}

constexpr char16_t no_label[] = u"";
constexpr char16_t ok_label[] = u"#smartphone_ok#";
constexpr char16_t menu_label[] = u"#smartphone_menu#";

// Without a touch screen an ordinary button is reached through the soft-key menu.
std::unique_ptr<ControlButtonImpl> smartphone_plain(ControlButtonBase& owner)
{
    if (owner.mode() == ControlMode::named && owner.Control::wants_focus())
        return soft_key_entry<no_label>(owner);
    return plain<true, false>(owner);
}

struct PartRow {
    ButtonAction action;
    Maker make; // one button per menu item on the menu bar
    Maker make_with_soft_keys; // the menu bar's two soft keys
    Maker make_for_smartphone;
};

// Actions without a row get a plain part that is painted, hit and focused.
// The system-menu button has nothing to do on this platform; an invisible
// part keeps it from being painted, hit or focused, like the borders.
constexpr PartRow parts[] = {
    { ButtonAction::nothing, plain<true, true>, plain<true, true>, smartphone_plain },
    { ButtonAction::caption, make<ControlButtonImplCaptionPocket>, make<ControlButtonImplCaptionPocket>,
        make<ControlButtonImplCaptionSmartphone> },
    { ButtonAction::border_left, plain<false, false>, plain<false, false>, plain<false, false> },
    { ButtonAction::border_right, plain<false, false>, plain<false, false>, plain<false, false> },
    { ButtonAction::border_bottom, plain<false, false>, plain<false, false>, plain<false, false> },
    { ButtonAction::border_top, plain<false, false>, plain<false, false>, plain<false, false> },
    { ButtonAction::corner_bottom_left, plain<false, false>, plain<false, false>, plain<false, false> },
    { ButtonAction::corner_bottom_right, plain<false, false>, plain<false, false>, plain<false, false> },
    { ButtonAction::corner_top_left, plain<false, false>, plain<false, false>, plain<false, false> },
    { ButtonAction::corner_top_right, plain<false, false>, plain<false, false>, plain<false, false> },
    { ButtonAction::button_close, make<ControlButtonImplClosePocket>, make<ControlButtonImplClosePocket>,
        make<ControlButtonCloseSmartphone> },
    { ButtonAction::button_minimize, plain<true, true>, plain<true, true>, plain<false, false> },
    { ButtonAction::button_maximize, plain<true, true>, plain<true, true>, plain<false, false> },
    { ButtonAction::button_sysmenu, plain<false, false>, plain<false, false>, plain<false, false> },
    { ButtonAction::button_ok, make<ControlButtonImplOKPocket>, make<ControlButtonImplMenu5PocketOK>,
        soft_key_entry<ok_label> },
    { ButtonAction::button_cancel, plain<true, true>, menu_entry_menu, soft_key_entry<menu_label> },
    { ButtonAction::button_yes, plain<true, true>, menu_entry_ok, soft_key_entry<ok_label> },
};

}

std::unique_ptr<ControlButtonImpl> ControlButtonImpl::create(ControlButtonBase& owner)
{
    for (const PartRow& row : parts)
        if (row.action == owner.action()) {
            if constexpr (is_smartphone)
                return row.make_for_smartphone(owner);
            return uses_soft_keys ? row.make_with_soft_keys(owner) : row.make(owner);
        }
    return plain<true, true>(owner);
}

}
