#include "platform/ui/Menu.h"

#include "platform/core/Resources.h"
#include "platform/ui/Input.h"
#include "tests/platform/ui/UiTest.h"
#include "tests/support/Screenshot.h"

using namespace platform;

namespace {

constexpr ColorRef white = rgb(255, 255, 255);

// Menu rows at 96 dpi: a frame and padding of 3 pixels, items 18 high, separators 7.
Point row_centre(const Rect& menu, int items_above, int separators_above = 0)
{
    return { menu.left + menu.width() / 2, menu.top + 3 + 18 * items_above + 7 * separators_above + 9 };
}

// The topmost window: the menu level opened last.
Rect top_window_rect()
{
    return window_rect(top_level_windows_by_z_order().front());
}

class Menus : public test::UiTest {
protected:
    void SetUp() override
    {
        owner = make_window({ 0, 26, 240, 268 }, ws::visible, white);
        watched = { msg::init_menu_popup, msg::command };
    }

    void TearDown() override
    {
        for (Menu m : made)
            destroy_menu(m);
        test::UiTest::TearDown();
    }

    // "Open", "Save" (greyed), a separator, "Recent" with "One" and "Two", "Quit\tCtrl+Q" (checked).
    Menu sample()
    {
        Menu recent = create_popup_menu();
        append_menu(recent, 0, 21u, u"One");
        append_menu(recent, 0, 22u, u"Two");
        Menu m = create_popup_menu();
        append_menu(m, 0, 11u, u"&Open");
        append_menu(m, mf::grayed, 12u, u"Save");
        append_menu(m, mf::separator, 0u, u"");
        append_menu(m, 0, recent, u"Recent");
        append_menu(m, mf::checked, 13u, u"Quit\tCtrl+Q");
        made.push_back(m);
        return m;
    }

    std::vector<std::uint32_t> commands() const
    {
        std::vector<std::uint32_t> out;
        for (auto& l : log) {
            if (l.id == msg::command)
                out.push_back(std::uint32_t(l.wparam));
        }
        return out;
    }

    Window owner {};
    std::vector<Menu> made;
};

TEST_F(Menus, ItemsAreAddedChangedAndRemoved)
{
    Menu m = sample();
    EXPECT_EQ(menu_item_count(m), 5);
    // By command the search goes into sub-menus.
    EXPECT_EQ(check_menu_item(m, 22, mf::checked), 0u);
    EXPECT_EQ(menu_item(sub_menu(m, 3), 1, mf::by_position)->flags & mf::checked, mf::checked);
    EXPECT_EQ(enable_menu_item(m, 12, mf::enabled), mf::grayed);
    EXPECT_EQ(enable_menu_item(m, 99, mf::grayed), no_menu_item);
    EXPECT_TRUE(modify_menu(m, 0, mf::by_position | mf::checked, 14, u"Close"));
    auto first = menu_item(m, 0, mf::by_position);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->command, 14u);
    EXPECT_EQ(first->text, u"Close");
    EXPECT_EQ(first->flags, mf::checked);

    // Removing keeps the sub-menu alive for the caller; deleting destroys it.
    Menu recent = sub_menu(m, 3);
    EXPECT_TRUE(remove_menu(m, 3, mf::by_position));
    EXPECT_TRUE(is_menu(recent));
    EXPECT_TRUE(append_menu(m, 0, recent, u"Recent"));
    EXPECT_FALSE(append_menu(create_popup_menu(), 0, recent, u"Twice")) << "a sub-menu has one parent";
    EXPECT_FALSE(append_menu(recent, 0, m, u"Cycle"));
    EXPECT_TRUE(delete_menu(m, 4, mf::by_position));
    EXPECT_FALSE(is_menu(recent));
    EXPECT_EQ(menu_item_count(m), 4);
    EXPECT_FALSE(delete_menu(m, 4, mf::by_position));

    // A destroyed menu fails everything.
    EXPECT_TRUE(destroy_menu(m));
    EXPECT_EQ(menu_item_count(m), -1);
    EXPECT_FALSE(append_menu(m, 0, 1u, u"x"));
}

TEST_F(Menus, TemplatesBuildMenus)
{
    Resources resources;
    resources.add_menu(
        7, { { u"A", 1 }, { u"", 0, mf::separator }, { u"Sub", 0, 0, { { u"B", 2, mf::grayed } } } });
    Menu m = load_menu(resources, 7);
    made.push_back(m);
    ASSERT_EQ(menu_item_count(m), 3);
    EXPECT_EQ(menu_item(m, 1, mf::by_position)->flags, mf::separator);
    EXPECT_EQ(menu_item(m, 2, mf::by_command)->flags, mf::grayed);
    EXPECT_EQ(menu_item(sub_menu(m, 2), 0, mf::by_position)->text, u"B");
    EXPECT_EQ(load_menu(resources, 8), no_menu);
}

TEST_F(Menus, ATapChoosesAndGreyedItemsSendNothing)
{
    Menu m = sample();
    Point at { 20, 60 };
    Rect shown;
    // The greyed "Save" and the separator do nothing and keep the menu open; "Open" is chosen.
    screen->call([&] { shown = top_window_rect(); })
        .tap(row_centre({ 20, 60, 120, 200 }, 1))
        .tap({ 50, 60 + 3 + 36 + 3 })
        .tap(row_centre({ 20, 60, 120, 200 }, 0));
    EXPECT_EQ(track_popup_menu(m, tpm::return_command, at, owner), 11u);
    EXPECT_EQ(shown.top_left(), at);
    screen->run_until_idle();
    EXPECT_TRUE(commands().empty()) << "with return_command nothing is posted";

    // Without it the choice is posted to the owner as a command.
    screen->tap(row_centre({ 20, 60, 120, 200 }, 3, 1));
    EXPECT_EQ(track_popup_menu(m, 0, at, owner), 1u);
    screen->run_until_idle();
    EXPECT_EQ(commands(), (std::vector<std::uint32_t> { 13 }));
}

TEST_F(Menus, ATapOutsideCancelsAndTheMenuGoes)
{
    Menu m = sample();
    screen->tap({ 230, 250 });
    EXPECT_EQ(track_popup_menu(m, tpm::return_command, { 20, 60 }, owner), 0u);
    screen->run_until_idle();
    EXPECT_TRUE(commands().empty());
    EXPECT_EQ(window_from_point({ 30, 70 }), owner);
    EXPECT_EQ(shown({ 30, 70 }), white) << "what the menu covered is painted again";
    EXPECT_TRUE(destroy_menu(m)) << "a menu no longer shown can go";
    made.clear();
}

TEST_F(Menus, AlignmentAndStayingOnScreen)
{
    struct Case {
        Point at;
        std::uint32_t flags;
        const char* where; // which corner of the menu lies at the point, or "inside"
    };

    const Case cases[] = {
        { { 200, 200 }, tpm::right_align | tpm::bottom_align, "bottom right" },
        { { 100, 100 }, tpm::left_align | tpm::top_align, "top left" },
        { { 100, 150 }, tpm::center_align | tpm::vcenter_align, "centre" },
        { { 235, 315 }, tpm::left_align | tpm::top_align, "inside" },
        { { 2, 28 }, tpm::right_align | tpm::bottom_align, "inside" },
        { { 500, -40 }, tpm::left_align, "inside" },
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.where);
        Menu m = sample();
        Rect r;
        screen->call([&] { r = top_window_rect(); }).key(vk::escape);
        track_popup_menu(m, c.flags | tpm::return_command, c.at, owner);
        ASSERT_FALSE(r.empty());
        EXPECT_GE(r.left, 0);
        EXPECT_GE(r.top, 26) << "below the title bar";
        EXPECT_LE(r.right, 240);
        EXPECT_LE(r.bottom, 320);
        if (std::string(c.where) == "bottom right")
            EXPECT_EQ((Point { r.right, r.bottom }), c.at);
        else if (std::string(c.where) == "top left")
            EXPECT_EQ(r.top_left(), c.at);
        else if (std::string(c.where) == "centre")
            EXPECT_EQ((Point { r.left + r.width() / 2, r.top + r.height() / 2 }), c.at);
    }
}

TEST_F(Menus, KeysMoveThroughItemsAndSubMenus)
{
    struct Case {
        std::vector<std::uint32_t> keys;
        std::uint32_t chosen;
    };

    const Case cases[] = {
        { { vk::down, vk::enter }, 11 },
        // Down skips the separator, but stops on the greyed item, which Enter cannot choose.
        { { vk::down, vk::down, vk::enter, vk::down, vk::down, vk::enter }, 13 },
        { { vk::up, vk::enter }, 13 },
        { { vk::up, vk::up, vk::right, vk::down, vk::enter }, 22 },
        { { vk::up, vk::up, vk::enter, vk::left, vk::down, vk::enter }, 13 },
        { { vk::down, vk::escape }, 0 },
        { { vk::up, vk::up, vk::right, vk::escape, vk::escape }, 0 },
    };
    for (auto& c : cases) {
        Menu m = sample();
        for (auto k : c.keys)
            screen->key(k);
        EXPECT_EQ(track_popup_menu(m, tpm::return_command, { 20, 60 }, owner), c.chosen) << c.keys.size();
    }
    screen->run_until_idle();
    EXPECT_TRUE(screen->script_done());
}

TEST_F(Menus, TheOwnerHearsOfEachLevelBeforeItOpens)
{
    Menu m = sample();
    Menu recent = sub_menu(m, 3);
    bool added = false;
    set_window_procedure(owner, [&](Window w, MessageId id, WParam wp, LParam lp) -> LResult {
        if (id == msg::init_menu_popup && init_menu_popup_menu(wp) == recent && !added) {
            added = append_menu(recent, 0, 23u, u"Three"); // filled on demand
        }
        return procedure(w, id, wp, lp);
    });
    Rect root { 20, 60, 120, 200 };
    screen->tap(row_centre(root, 2, 1));
    Rect sub;
    screen->call([&] {
        sub = top_window_rect();
        screen->tap(row_centre(sub, 2));
    });
    EXPECT_EQ(track_popup_menu(m, tpm::return_command, root.top_left(), owner), 23u);
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(init_menu_popup_menu(log[0].wparam), m);
    EXPECT_EQ(init_menu_popup_item(log[0].lparam), 0);
    EXPECT_EQ(init_menu_popup_menu(log[1].wparam), recent);
    EXPECT_EQ(init_menu_popup_item(log[1].lparam), 3);
    EXPECT_GE(sub.left, root.left + 40) << "the sub-menu opens beside its item";
}

TEST_F(Menus, AnOpenMenuLooksAsStored)
{
    Menu m = sample();
    bool matched = false;
    screen->tap(row_centre({ 20, 60, 120, 200 }, 2, 1));
    screen->call([&] { matched = test::matches_screenshot(screen->shown(), "popup_menu"); })
        .key(vk::escape)
        .key(vk::escape);
    track_popup_menu(m, tpm::return_command, { 20, 60 }, owner);
    EXPECT_TRUE(matched);
}

TEST_F(Menus, AnEmptyMenuShowsNothing)
{
    Menu empty = create_popup_menu();
    made.push_back(empty);
    EXPECT_EQ(track_popup_menu(empty, tpm::return_command, { 20, 60 }, owner), 0u);
    EXPECT_EQ(top_level_windows_by_z_order().front(), owner);
    EXPECT_EQ(track_popup_menu(no_menu, tpm::return_command, { 20, 60 }, owner), 0u);
    EXPECT_EQ(track_popup_menu(empty, tpm::return_command, { 20, 60 }, Window { 999999 }), 0u);
}

TEST_F(Menus, AQuitEndsTheMenuAndReachesTheOuterLoop)
{
    Menu m = sample();
    screen->call([] { post_quit_message(3); });
    EXPECT_EQ(track_popup_menu(m, tpm::return_command, { 20, 60 }, owner), 0u);
    Message quit;
    ASSERT_TRUE(peek_message(quit));
    EXPECT_EQ(quit.message, msg::quit);
    EXPECT_EQ(quit.wparam, 3u);
}

// "Open", then "Send" with a sub-menu of two items as wide as the texts given.
Menu send_menu(std::u16string_view first, std::u16string_view second)
{
    Menu send = create_popup_menu();
    append_menu(send, 0, 21u, first);
    append_menu(send, 0, 22u, second);
    Menu m = create_popup_menu();
    append_menu(m, 0, 11u, u"Open");
    append_menu(m, 0, send, u"Send");
    return m;
}

TEST_F(Menus, ASubMenuWithoutRoomOnTheRightOpensOnTheLeftOrTheRoomierSide)
{
    struct Case {
        const char* name;
        std::int32_t x;
        std::u16string_view text; // of the sub-menu's first item
        bool left; // of its parent
    };
    const Case cases[] = {
        { "room on the right", 20, u"Infrared", false },
        { "none on the right", 150, u"Infrared", true },
        { "neither side, more on the right", 40, u"By infrared to the desk", false },
        { "neither side, more on the left", 110, u"By infrared to the desk", true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Menu m = send_menu(c.text, u"Mail");
        made.push_back(m);
        Rect root, sub;
        screen->call([&] {
            root = top_window_rect();
            screen->tap(row_centre(root, 1));
            screen->call([&] { sub = top_window_rect(); }).key(vk::escape).key(vk::escape);
        });
        EXPECT_EQ(track_popup_menu(m, tpm::return_command, { c.x, 60 }, owner), 0u);
        ASSERT_NE(sub, root) << "the sub-menu opened";
        EXPECT_GE(sub.left, 0);
        EXPECT_LE(sub.right, 240);
        const bool fits = sub.right <= root.left + 3 || sub.left >= root.right - 3;
        if (c.left)
            EXPECT_TRUE(fits ? sub.right <= root.left + 3 : sub.left == 0) << sub.left << " " << root.left;
        else
            EXPECT_TRUE(fits ? sub.left >= root.right - 3 : sub.right == 240) << sub.left << " " << root.right;
    }
}

TEST_F(Menus, TheReleaseOfThePressThatOpenedASubMenuChoosesNothingUnderIt)
{
    // The wide sub-menu has no room on either side and covers its parent's item.
    struct Case {
        const char* name;
        Point release_offset;
        std::uint32_t chosen;
    };
    const Case cases[] = {
        { "on the spot", { 0, 0 }, 0 },
        { "within a few pixels", { 3, -2 }, 0 },
        { "dragged onto the next item", { 0, 18 }, 22 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Menu m = send_menu(u"By infrared to the device", u"Mail");
        made.push_back(m);
        Rect root, sub;
        bool open_after_release = false;
        screen->call([&] {
            root = top_window_rect();
            const Point press = row_centre(root, 1);
            const Point release { press.x + c.release_offset.x, press.y + c.release_offset.y };
            screen->pen_down(press).pen_move(release, 20).pen_up(release, 20);
            screen->call([&] {
                sub = top_window_rect();
                open_after_release = sub != root;
            });
            // Still open: a tap on its first item chooses it.
            screen->call([&] { screen->tap(row_centre(sub, 0)); });
        });
        const std::uint32_t chosen = track_popup_menu(m, tpm::return_command, { 60, 60 }, owner);
        screen->run_until_idle();
        if (c.chosen == 0) {
            EXPECT_TRUE(open_after_release);
            EXPECT_TRUE(sub.contains(row_centre(root, 1))) << "the sub-menu lies under the press";
            EXPECT_EQ(chosen, 21u) << "only the later tap chose";
        } else {
            EXPECT_EQ(chosen, c.chosen);
        }
    }
}

}
