#include "skinner/widgets/buttons/ButtonAction.h"

#include "skinner/core/NameTable.h"

namespace skinner {

namespace {

constexpr NameTableRow<ButtonAction> action_names[] = {
    { ButtonAction::nothing, u"NOTHING" },
    { ButtonAction::caption, u"CAPTION" },
    { ButtonAction::border_left, u"BORDER_LEFT" },
    { ButtonAction::border_right, u"BORDER_RIGHT" },
    { ButtonAction::border_bottom, u"BORDER_BOTTOM" },
    { ButtonAction::border_top, u"BORDER_TOP" },
    { ButtonAction::corner_bottom_left, u"CORNER_BOTTOM_LEFT" },
    { ButtonAction::corner_bottom_right, u"CORNER_BOTTOM_RIGHT" },
    { ButtonAction::corner_top_left, u"CORNER_TOP_LEFT" },
    { ButtonAction::corner_top_right, u"CORNER_TOP_RIGHT" },
    { ButtonAction::button_close, u"BUTTON_CLOSE" },
    { ButtonAction::button_minimize, u"BUTTON_MINIMIZE" },
    { ButtonAction::button_maximize, u"BUTTON_MAXIMIZE" },
    { ButtonAction::button_sysmenu, u"BUTTON_SYSMENU" },
    { ButtonAction::button_ok, u"BUTTON_OK" },
    { ButtonAction::button_cancel, u"BUTTON_CANCEL" },
    { ButtonAction::button_yes, u"BUTTON_YES" },
    { ButtonAction::button_no_menu, u"BUTTON_NO_MENU" },
};

}

bool parse_button_action(std::u16string_view name, ButtonAction& action)
{
    return parse_name<ButtonAction>(action_names, name, action);
}

}
