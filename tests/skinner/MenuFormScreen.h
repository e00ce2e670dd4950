#pragma once

#include "platform/core/Utf8.h"
#include "skinner/core/Listener.h"
#include "skinner/core/MenuEntry.h"
#include "tests/skinner/FormScreen.h"

#include <string>
#include <vector>

namespace test {

// The form "Bar" of the menus skin: a work-area form with a main-menu record
// and a probe control "Pad" at its top-left.
class MenuFormScreen : public FormScreen {
protected:
    skinner::Properties menus_skin { platform::from_utf8(ORVANTA_MENUS_SKIN), { 240, 320 } };
};

// A form's listener that records the commands reaching it and fills the
// drop-down menus it is asked for.
struct CommandLog : skinner::Listener {
    bool on_command(std::u16string_view command) override
    {
        commands.emplace_back(command);
        return true;
    }

    bool on_build_menu(skinner::Control& sender, skinner::MenuEntry& menu) override
    {
        built.push_back(sender.id());
        for (const auto& child : drop_down)
            menu.children.push_back(child);
        return true;
    }

    std::vector<std::u16string> commands;
    std::vector<std::u16string> built;
    std::vector<skinner::MenuEntry> drop_down;
};

}
