#include "skinner/menus/PopupMenu.h"

#include "platform/ui/Input.h"
#include "skinner/core/MenuEntry.h"
#include "tests/platform/ui/UiTest.h"

#include <gtest/gtest.h>

using namespace platform;
using skinner::MenuEntry;

namespace {

// Stands in for a listener: only its address is used.
skinner::Listener* fake_owner(int n)
{
    static int owners[4];
    return reinterpret_cast<skinner::Listener*>(&owners[n]);
}

MenuEntry leaf(std::u16string_view id, std::u16string_view text, int owner = 0)
{
    MenuEntry e(id, text);
    e.owner = fake_owner(owner);
    return e;
}

// "Open", "Cut\tCtrl+X" (greyed, checked), "More" with "One" and "Two"
// (a separator asked after the last), "Quit" after a separator.
MenuEntry sample()
{
    MenuEntry root(u"root", u"");
    root.children.push_back(leaf(u"Open", u"Open", 1));
    MenuEntry cut = leaf(u"Cut", u"Cut", 2);
    cut.shortcut = u"Ctrl+X";
    cut.enabled = false;
    cut.checked = true;
    root.children.push_back(cut);
    MenuEntry more(u"More", u"More");
    more.children.push_back(leaf(u"One", u"One"));
    more.children.push_back(leaf(u"Two", u"Two", 3));
    more.children.back().separator_after = true;
    more.separator_after = true;
    root.children.push_back(more);
    root.children.push_back(leaf(u"Quit", u"Quit"));
    root.children.back().separator_after = true;
    return root;
}

class PopupMenus : public test::UiTest {
protected:
    void SetUp() override { owner = make_window({ 0, 26, 240, 268 }, ws::visible, rgb(255, 255, 255)); }

    Window owner {};
};

}

TEST_F(PopupMenus, LeavesAreNumberedInOrderAndSubMenusTakeNoNumber)
{
    skinner::MenuCommands commands { { u"" }, { nullptr }, true };
    Menu menu = create_popup_menu();
    skinner::fill_menu(sample(), menu, commands);

    EXPECT_EQ(commands.ids, (std::vector<std::u16string> { u"", u"Open", u"Cut", u"One", u"Two", u"Quit" }));
    EXPECT_EQ(commands.owners[2], fake_owner(2));
    EXPECT_EQ(commands.owners[4], fake_owner(3));

    // Open, Cut, More, separator, Quit: none after the last entry of either menu.
    ASSERT_EQ(menu_item_count(menu), 5);
    auto cut = menu_item(menu, 1, mf::by_position);
    EXPECT_EQ(cut->text, u"Cut\tCtrl+X");
    EXPECT_EQ(cut->command, 2u);
    EXPECT_EQ(cut->flags & (mf::grayed | mf::checked), mf::grayed | mf::checked);
    EXPECT_TRUE(menu_item(menu, 2, mf::by_position)->flags & mf::popup);
    EXPECT_TRUE(menu_item(menu, 3, mf::by_position)->flags & mf::separator);
    EXPECT_EQ(menu_item(menu, 4, mf::by_position)->command, 5u);
    Menu more = sub_menu(menu, 2);
    ASSERT_EQ(menu_item_count(more), 2);
    EXPECT_EQ(menu_item(more, 0, mf::by_position)->command, 3u);
    destroy_menu(menu);

    // Without owners only the ids are kept.
    skinner::MenuCommands ids_only { {}, {}, false };
    menu = create_popup_menu();
    skinner::fill_menu(sample(), menu, ids_only);
    EXPECT_EQ(ids_only.ids.size(), 5u);
    EXPECT_TRUE(ids_only.owners.empty());
    destroy_menu(menu);
}

TEST_F(PopupMenus, TheChoiceComesBackAsItsIdAndOwner)
{
    // The menu's top-left lies at the point, in the window's client coordinates.
    Rect shown;
    screen->call([&] { shown = window_rect(top_level_windows_by_z_order().front()); })
        .tap({ 30, 26 + 40 + 3 + 9 });
    skinner::Listener* chosen = nullptr;
    EXPECT_EQ(skinner::show_popup_menu(owner, sample(), { 20, 40 }, skinner::MenuAlignH::left,
                  skinner::MenuAlignV::top, &chosen),
        u"Open");
    EXPECT_EQ(shown.top_left(), (Point { 20, 66 }));
    EXPECT_EQ(chosen, fake_owner(1));

    // Dismissed by a tap outside: nothing chosen.
    screen->tap({ 230, 250 });
    chosen = fake_owner(3);
    EXPECT_EQ(skinner::show_popup_menu(owner, sample(), { 20, 40 }, skinner::MenuAlignH::left,
                  skinner::MenuAlignV::top, &chosen),
        u"");
    EXPECT_EQ(chosen, nullptr);

    // Right and bottom alignment put that corner at the point.
    screen->call([&] { shown = window_rect(top_level_windows_by_z_order().front()); }).key(vk::escape);
    skinner::show_popup_menu(
        owner, sample(), { 200, 200 }, skinner::MenuAlignH::right, skinner::MenuAlignV::bottom);
    EXPECT_EQ((Point { shown.right, shown.bottom }), (Point { 200, 226 }));
}

TEST_F(PopupMenus, AnEmptyEntryShowsNothingAndChoosesNothing)
{
    skinner::Listener* chosen = fake_owner(0);
    EXPECT_EQ(skinner::show_popup_menu(owner, MenuEntry(u"root", u""), { 10, 10 }, skinner::MenuAlignH::left,
                  skinner::MenuAlignV::top, &chosen),
        u"");
    EXPECT_EQ(chosen, nullptr);
    EXPECT_FALSE(screen->stalled());
}
