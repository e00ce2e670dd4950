#include "skinner/menus/SoftKeyMenu.h"

#include "skinner/core/MenuEntry.h"
#include "skinner/widgets/buttons/ControlButton.h"
#include "skinner/widgets/buttons/ControlButtonImplMenuSmartphone.h"
#include "skinner/widgets/buttons/ControlCheckBox.h"
#include "skinner/widgets/buttons/ControlCheckBoxImplMenuSmartphone.h"
#include "skinner/menus/MenuMainSubMenu.h"
#include "tests/skinner/MenuFormScreen.h"
#include "tests/support/TempDir.h"

#include <fstream>

#include <memory>
#include <string>
#include <vector>

using namespace skinner;

namespace {

// A button of the skin on a soft key whatever the edition: its part is the menu entry.
class KeyButton : public ControlButton {
public:
    KeyButton(Container& container, std::u16string_view id, std::u16string_view text, std::u16string_view label)
        : ControlButton(container, id)
    {
        set_text(text);
        set_impl(nullptr);
        set_impl(std::make_unique<ControlButtonImplMenuSmartphone>(*this, std::u16string(label)));
    }
};

class KeyCheckBox : public ControlCheckBox {
public:
    KeyCheckBox(Container& container, std::u16string_view id, std::u16string_view text)
        : ControlCheckBox(container, id)
    {
        set_text(text);
        set_impl(nullptr);
        set_impl(std::make_unique<ControlCheckBoxImplMenuSmartphone>(*this, u""));
    }
};

// "text{child,child}" with "id" for leaves, "*" after a checked one, "|" after
// one with a separator and "-" after a disabled one; a leaf tree is "=id".
std::string describe(const MenuEntry& entry)
{
    std::string out = platform::to_utf8(entry.children.empty() ? u"=" + entry.id : entry.text);
    if (entry.checked)
        out += "*";
    if (!entry.enabled)
        out += "-";
    if (entry.children.empty())
        return out;
    out += "{";
    for (std::size_t i = 0; i < entry.children.size(); ++i) {
        const MenuEntry& child = entry.children[i];
        out += (i ? "," : "") + (child.children.empty() ? platform::to_utf8(child.id) : describe(child));
        if (child.checked)
            out += "*";
        if (child.separator_after)
            out += "|";
    }
    return out + "}";
}

class SoftKeyMenuTest : public test::MenuFormScreen {
protected:
    std::string left()
    {
        MenuEntry tree(u"#FakeIdSoft1#", u"");
        SoftKeyMenu::fill_left(form.menu_items(), menus_skin.translator(), tree);
        last_left = tree;
        return describe(tree);
    }

    std::string right()
    {
        MenuEntry tree(u"#FakeIdSoft2#", u"");
        SoftKeyMenu::fill_right(form.menu_items(), menus_skin.translator(), tree);
        last_right = tree;
        return describe(tree);
    }

    test::CommandLog log;
    Form form { nullptr, menus_skin, u"SoftKeys", &log };
    MenuEntry last_left;
    MenuEntry last_right;
};

TEST_F(SoftKeyMenuTest, OneOkButtonIsTheLeftKeyItselfAndTheRightKeyIsBlank)
{
    KeyButton ok { form, u"btnOk", u"Done", u"#smartphone_ok#" };
    EXPECT_EQ(left(), "=btnOk");
    EXPECT_EQ(last_left.text, u"Done");
    EXPECT_EQ(last_left.owner, &ok);
    // An empty tree: no text, no owner, so the key does nothing.
    EXPECT_EQ(right(), "=#FakeIdSoft2#");
    EXPECT_EQ(last_right.text, u"");
    EXPECT_EQ(last_right.owner, nullptr);
}

TEST_F(SoftKeyMenuTest, KeysWithSeveralEntriesTakeTheirGenericTitles)
{
    KeyButton ok { form, u"btnOk", u"Done", u"#smartphone_ok#" };
    KeyButton yes { form, u"btnYes", u"Yes", u"#smartphone_ok#" };
    KeyButton play { form, u"btnPlay", u"Play", u"" };
    KeyCheckBox loop { form, u"chkLoop", u"Loop" };
    EXPECT_EQ(left(), "Action{btnOk,btnYes}");
    EXPECT_EQ(right(), "Menu{btnPlay,chkLoop}");

    // The menus follow the controls: a checked box, a hidden button, a disabled one.
    loop.set_checked(true, false);
    yes.set_visible(false);
    play.set_enabled(false);
    EXPECT_EQ(left(), "=btnOk");
    EXPECT_EQ(right(), "Menu{btnPlay,chkLoop*}");
    EXPECT_FALSE(last_right.children[0].enabled);
}

TEST_F(SoftKeyMenuTest, TheTitlesAreTranslated)
{
    test::TempDir dir;
    const std::string language = dir.file("Other.lng");
    std::ofstream(language) << "menuSoftButtonOk Do\nmenuSoftButtonMenu More\n";
    ASSERT_TRUE(menus_skin.load_language(platform::from_utf8(language)));
    KeyButton ok { form, u"btnOk", u"Done", u"#smartphone_ok#" };
    KeyButton yes { form, u"btnYes", u"Yes", u"#smartphone_ok#" };
    KeyButton play { form, u"btnPlay", u"Play", u"" };
    KeyButton stop { form, u"btnFlat", u"Stop", u"" };
    EXPECT_EQ(left(), "Do{btnOk,btnYes}");
    EXPECT_EQ(right(), "More{btnPlay,btnFlat}");
}

TEST_F(SoftKeyMenuTest, MenuItemsMergeIntoTheRightKeyAfterTheOthersAndLendItTheirText)
{
    log.drop_down = { MenuEntry(u"cmdCut", u"Cut"), MenuEntry(u"cmdPaste", u"Paste") };
    MenuMainSubMenu edit { form, u"mnuEdit", u"Edit", 1, u"#smartphone_menu#" };
    KeyButton play { form, u"btnPlay", u"Play", u"" };
    EXPECT_EQ(right(), "Edit{btnPlay,cmdCut,cmdPaste}");
    // The merged entries answer to the item's owner.
    EXPECT_EQ(last_right.children[1].owner, &edit);
    EXPECT_EQ(last_right.children[0].owner, &play);
}

TEST_F(SoftKeyMenuTest, AnUnlabelledSubMenuStaysOneNestedEntry)
{
    log.drop_down = { MenuEntry(u"cmdNew", u"New") };
    MenuMainSubMenu file { form, u"mnuFile", u"File", 1, u"" };
    KeyButton play { form, u"btnPlay", u"Play", u"" };
    EXPECT_EQ(right(), "Menu{File{cmdNew},btnPlay}");
}

TEST_F(SoftKeyMenuTest, TabPagesComeLastBetweenSeparators)
{
    log.drop_down = { MenuEntry(u"pageOne", u"One"), MenuEntry(u"pageTwo", u"Two") };
    MenuMainSubMenu pages { form, u"tabPages", u"", 1, u"#smartphone_tab#" };
    KeyButton play { form, u"btnPlay", u"Play", u"" };
    EXPECT_EQ(right(), "Menu{btnPlay|,pageOne,pageTwo|}");
}

TEST_F(SoftKeyMenuTest, OnlyTabPagesLeaveNoLeadingSeparator)
{
    log.drop_down = { MenuEntry(u"pageOne", u"One"), MenuEntry(u"pageTwo", u"Two") };
    MenuMainSubMenu pages { form, u"tabPages", u"", 1, u"#smartphone_tab#" };
    EXPECT_EQ(right(), "Menu{pageOne,pageTwo|}");
}

}
