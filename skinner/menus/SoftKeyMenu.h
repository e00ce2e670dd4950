#pragma once

#include <string_view>

namespace liba {
class StringTranslator;
}

namespace skinner {

class MenuManager;
struct MenuEntry;

// The menus of the two soft keys, computed afresh from a form's menu list:
// the items labelled "#smartphone_ok#" go to the left key, all others to the
// right one ("#smartphone_menu#" items merged into it, "#smartphone_tab#"
// items merged between separators). A key whose tree holds a single entry
// acts as that entry.
class SoftKeyMenu {
public:
    static constexpr std::u16string_view ok_label = u"#smartphone_ok#";
    static constexpr std::u16string_view menu_label = u"#smartphone_menu#";
    static constexpr std::u16string_view tab_label = u"#smartphone_tab#";

    static void fill_left(const MenuManager& items, const liba::StringTranslator& translator, MenuEntry& tree);
    static void fill_right(const MenuManager& items, const liba::StringTranslator& translator, MenuEntry& tree);
};

}
