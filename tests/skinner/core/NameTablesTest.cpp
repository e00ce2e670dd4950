#include "skinner/core/Alignment.h"
#include "skinner/widgets/buttons/ButtonAction.h"

#include <gtest/gtest.h>

namespace {

using skinner::ButtonAction;

TEST(AlignmentNames, ExactNamesMatchAndOthersLeaveTheValue)
{
    struct Case {
        std::u16string_view name;
        bool horizontal;
        bool found;
        std::int32_t expected; // starting from 7
    };
    const Case cases[] = {
        { u"LEFT", true, true, 0 },
        { u"CENTER", true, true, 1 },
        { u"RIGHT", true, true, 2 },
        { u"left", true, false, 7 },
        { u"LEFT ", true, false, 7 },
        { u"", true, false, 7 },
        { u"TOP", true, false, 7 }, // a vertical name is not a horizontal one
        { u"TOP", false, true, 0 },
        { u"VCENTER", false, true, 1 },
        { u"BOTTOM", false, true, 2 },
        { u"CENTER", false, false, 7 },
        { u"Bottom", false, false, 7 },
    };
    for (const auto& c : cases) {
        std::int32_t value = 7;
        const bool found = c.horizontal ? skinner::parse_h_alignment(c.name, value)
                                        : skinner::parse_v_alignment(c.name, value);
        EXPECT_EQ(found, c.found) << std::string(c.name.begin(), c.name.end());
        EXPECT_EQ(value, c.expected) << std::string(c.name.begin(), c.name.end());
    }
}

TEST(ButtonActionNames, EveryNameHasItsNumber)
{
    const std::u16string_view names[] = { u"NOTHING", u"CAPTION", u"BORDER_LEFT", u"BORDER_RIGHT",
        u"BORDER_BOTTOM", u"BORDER_TOP", u"CORNER_BOTTOM_LEFT", u"CORNER_BOTTOM_RIGHT", u"CORNER_TOP_LEFT",
        u"CORNER_TOP_RIGHT", u"BUTTON_CLOSE", u"BUTTON_MINIMIZE", u"BUTTON_MAXIMIZE", u"BUTTON_SYSMENU",
        u"BUTTON_OK", u"BUTTON_CANCEL", u"BUTTON_YES", u"BUTTON_NO_MENU" };
    for (std::int32_t number = 0; number < std::int32_t(std::size(names)); ++number) {
        ButtonAction action = ButtonAction::button_yes;
        EXPECT_TRUE(skinner::parse_button_action(names[number], action));
        EXPECT_EQ(static_cast<std::int32_t>(action), number);
    }
    for (const std::u16string_view other : { u"button_ok", u"OK", u"", u"BUTTON_OK " }) {
        ButtonAction action = ButtonAction::caption;
        EXPECT_FALSE(skinner::parse_button_action(other, action));
        EXPECT_EQ(action, ButtonAction::caption);
    }
}

}
