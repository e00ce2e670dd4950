#pragma once

#include "skinner/menus/MenuMainButton.h"

namespace skinner {

// A menu bar button with a drop-down menu, which its owner fills on demand
// (on_build_menu) each time it opens.
class MenuMainSubMenu : public MenuMainButton {
public:
    using MenuMainButton::MenuMainButton;

    bool has_submenu() override { return true; }
};

}
