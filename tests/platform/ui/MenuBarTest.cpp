#include "platform/ui/MenuBar.h"

#include "platform/core/Resources.h"
#include "platform/ui/Input.h"
#include "platform/ui/ShellLook.h"
#include "tests/platform/ui/UiTest.h"
#include "tests/support/Screenshot.h"
#include "tests/support/TempDir.h"
#include "tests/support/Tool.h"

#include <fstream>
#include <iterator>

using namespace platform;

namespace {

constexpr ColorRef white = rgb(255, 255, 255);
constexpr std::uint32_t bar_id = 117;

// A bar of "File" (drop-down: "New", "Open" greyed), "Play", "Stop" (disabled).
Resources sample_resources()
{
    Resources r;
    r.add_string(103, u"Play");
    r.add_menu(300, { { u"File", 0, 0, { { u"New", 40002 }, { u"Open", 40003, mf::grayed } } } });
    MenuBarTemplate bar { 300, {} };
    bar.buttons.push_back(
        { no_image, 100, tbstate::enabled, tbstyle::drop_down | tbstyle::auto_size, 0, u"File", 0 });
    bar.buttons.push_back({ no_image, 101, tbstate::enabled, tbstyle::auto_size, 103 });
    bar.buttons.push_back({ no_image, 102, 0, tbstyle::auto_size, 0, u"Stop" });
    r.add_menu_bar(bar_id, bar);
    return r;
}

class MenuBars : public test::UiTest {
protected:
    void SetUp() override
    {
        owner = make_window({ 0, 26, 240, 268 }, ws::visible, white);
        watched = { msg::init_menu_popup, msg::command };
    }

    Window make_bar(Window parent)
    {
        MenuBarInfo info { parent, bar_id, &resources };
        EXPECT_TRUE(create_menu_bar(info));
        return info.bar;
    }

    static Point centre(Window bar, int index)
    {
        auto r = toolbar_item_rect(bar, index);
        EXPECT_TRUE(r) << index;
        return r ? Point { r->left + r->width() / 2, r->top + r->height() / 2 } : Point {};
    }

    std::vector<std::string> heard() const
    {
        std::vector<std::string> out;
        for (auto& l : log)
            out.push_back((l.id == msg::command ? "command " : "init ")
                + std::to_string(l.id == msg::command ? l.wparam : l.lparam));
        return out;
    }

    Resources resources = sample_resources();
    Window owner {};
};

TEST_F(MenuBars, TheBarFillsTheBottomBarWhileItsWindowIsInFront)
{
    Window bar = make_bar(owner);
    screen->run_until_idle();
    EXPECT_EQ(window_rect(bar), bottom_bar_rect());
    EXPECT_EQ(bottom_bar_rect().height(), bar_height());
    EXPECT_TRUE(is_window_visible(bar));
    EXPECT_EQ(toolbar_button_count(bar), 3);
    EXPECT_EQ(toolbar_button(bar, 1)->text, u"Play") << "the text of a string resource";

    // Another window in front hides it; back in front, it shows again.
    Window other = make_window({ 0, 26, 240, 268 }, ws::visible, test::green);
    EXPECT_FALSE(is_window_visible(bar));
    set_foreground_window(owner);
    EXPECT_TRUE(is_window_visible(bar));
    // Full-screen mode hides the bars.
    set_full_screen(owner, shfs::hide_task_bar);
    EXPECT_FALSE(is_window_visible(bar));
    set_full_screen(owner, shfs::show_task_bar);
    EXPECT_TRUE(is_window_visible(bar));
    // Hidden by its window, it stays hidden through a change of the foreground.
    show_window(bar, sw::hide);
    set_foreground_window(other);
    set_foreground_window(owner);
    EXPECT_FALSE(is_window_visible(bar));
    destroy_window(bar);
}

TEST_F(MenuBars, ABarForAWindowBehindShowsWhenItComesToFront)
{
    Window other = make_window({ 0, 26, 240, 268 }, ws::visible, test::green);
    Window bar = make_bar(owner);
    EXPECT_FALSE(is_window_visible(bar));
    set_foreground_window(owner);
    EXPECT_TRUE(is_window_visible(bar));
    (void)other;
    destroy_window(bar);
}

TEST_F(MenuBars, BadInputMakesNoBar)
{
    MenuBarInfo missing { owner, 999, &resources };
    EXPECT_FALSE(create_menu_bar(missing));
    EXPECT_EQ(missing.bar, no_window);
    MenuBarInfo orphan { Window { 999999 }, bar_id, &resources };
    EXPECT_FALSE(create_menu_bar(orphan));
    EXPECT_EQ(toolbar_button_count(owner), 0) << "toolbar helpers on a window that is no bar do nothing";
    EXPECT_FALSE(toolbar_insert_button(owner, 0, {}));
}

TEST_F(MenuBars, ButtonsSendCommandsAndDropDownsHearInitFirst)
{
    Window bar = make_bar(owner);
    screen->run_until_idle();
    // "Play" sends its command; "Stop" is disabled and sends nothing.
    screen->tap(centre(bar, 1)).tap(centre(bar, 2));
    screen->run_until_idle();
    EXPECT_EQ(heard(), (std::vector<std::string> { "command 101" }));

    // "File": init (with the button's command) before its menu opens; the
    // greyed "Open" sends nothing, "New" its command.
    log.clear();
    Rect menu;
    screen->tap(centre(bar, 0)).call([&] {
        menu = window_rect(top_level_windows_by_z_order().front());
        screen->tap({ menu.left + 10, menu.top + 3 + 18 + 9 }).tap({ menu.left + 10, menu.top + 3 + 9 });
    });
    screen->run_until_idle();
    EXPECT_EQ(heard(), (std::vector<std::string> { "init 100", "command 40002" }));
    EXPECT_EQ(menu.bottom, bottom_bar_rect().top) << "the menu opens above the bar";
    EXPECT_EQ(menu.left, toolbar_item_rect(bar, 0)->left);

    // A press dragged off a button sends nothing.
    log.clear();
    Point play = centre(bar, 1);
    screen->pen_down(play).pen_move({ play.x, 100 }).pen_up({ play.x, 100 });
    screen->run_until_idle();
    EXPECT_TRUE(heard().empty());
    destroy_window(bar);
}

TEST_F(MenuBars, ButtonsAreChangedCheckedGreyedAndRemoved)
{
    Window bar = make_bar(owner);
    ToolbarButtonInfo info;
    info.mask = tbif::text | tbif::command;
    info.text = u"Pause";
    info.command = 105;
    EXPECT_TRUE(toolbar_set_button_info(bar, 101, info));
    EXPECT_FALSE(toolbar_set_button_info(bar, 101, info)) << "the command changed";
    EXPECT_EQ(toolbar_button(bar, 1)->text, u"Pause");
    EXPECT_TRUE(toolbar_enable_button(bar, 102, true));
    EXPECT_TRUE(toolbar_check_button(bar, 105, true));
    EXPECT_EQ(send_message(bar, tb::is_button_checked, 105), 1);
    EXPECT_TRUE(toolbar_enable_button(bar, 105, false));
    screen->run_until_idle();
    screen->tap(centre(bar, 1)).tap(centre(bar, 2));
    screen->run_until_idle();
    EXPECT_EQ(heard(), (std::vector<std::string> { "command 102" })) << "greyed sends nothing, enabled does";

    ToolbarButton separator;
    separator.style = tbstyle::separator;
    EXPECT_TRUE(toolbar_insert_button(bar, 1, separator));
    EXPECT_TRUE(toolbar_delete_button(bar, 0)) << "its drop-down menu goes with it";
    EXPECT_FALSE(toolbar_delete_button(bar, 3));
    EXPECT_EQ(toolbar_button_count(bar), 3);
    EXPECT_EQ(toolbar_button(bar, 0)->style, tbstyle::separator);
    destroy_window(bar);
}

TEST_F(MenuBars, ImageStripsAndTheBarsLook)
{
    if (!test::have_tool("convert"))
        GTEST_SKIP() << "ImageMagick makes the image strip";
    // A strip of two 16 x 16 images, red and blue squares on magenta.
    test::TempDir dir;
    std::string strip = dir.file("strip.bmp");
    auto made = test::run_tool(
        { "convert", "-size", "32x16", "xc:#FF00FF", "-fill", "#FF0000", "-draw", "rectangle 3,3 12,12",
            "-fill", "#0000FF", "-draw", "rectangle 19,3 28,12", "-type", "TrueColor", "BMP3:" + strip });
    ASSERT_EQ(made.exit_code, 0);
    std::ifstream in(strip, std::ios::binary);
    resources.add_picture(115, std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {}));

    Window bar = make_bar(owner);
    EXPECT_EQ(menu_bar_add_bitmap(bar, resources, 115, 2, 16, 16), 0);
    EXPECT_EQ(menu_bar_add_bitmap(bar, resources, 115, 5, 16, 16), 2) << "only the two images there are";
    EXPECT_EQ(menu_bar_add_bitmap(bar, resources, 116, 2, 16, 16), -1);
    ToolbarButton red { 0, 110, tbstate::enabled, tbstyle::auto_size };
    ToolbarButton blue { 1, 111, tbstate::enabled | tbstate::checked, tbstyle::auto_size, no_menu, u"Blue" };
    toolbar_insert_button(bar, 3, red);
    toolbar_insert_button(bar, 4, blue);
    screen->run_until_idle();
    Rect r = *toolbar_item_rect(bar, 3);
    EXPECT_EQ(shown({ r.left + r.width() / 2, r.top + r.height() / 2 }), test::red);
    EXPECT_NE(shown({ r.left + 1, r.top + 2 }), rgb(255, 0, 255)) << "magenta is transparent";
    EXPECT_TRUE(test::matches_screenshot(screen->shown(), "menu_bar"));
    destroy_window(bar);
}

TEST(MenuBarScreens, TheBarIsAsHighAsTheBottomBar)
{
    ScopedService<Clock, headless::FakeClock> clock { clock_slot(), 10000 };
    ScopedService<Display, headless::HeadlessDisplay> screen(
        display_slot(), ScreenMode { { 480, 640 }, 192 });
    register_window_class({ u"BarOwner" });
    WindowParams params;
    params.class_name = u"BarOwner";
    params.style = ws::visible;
    Window owner = create_window(params);
    Resources resources = sample_resources();
    MenuBarInfo info { owner, bar_id, &resources };
    ASSERT_TRUE(create_menu_bar(info));
    EXPECT_EQ(window_rect(info.bar), (Rect { 0, 640 - 52, 480, 640 }));
    EXPECT_EQ(toolbar_item_rect(info.bar, 1)->height(), 51);
    destroy_window(info.bar);
    destroy_window(owner);
}

// A disabled button's icon shows greyed, at either scale.
class MenuBarIcons : public test::UiTest, public ::testing::WithParamInterface<int> {
protected:
    MenuBarIcons()
        : UiTest(ScreenMode { { 240 * GetParam(), 320 * GetParam() }, 96 * GetParam() })
    {
    }
};

TEST_P(MenuBarIcons, DisabledIconButtonsAreGreyed)
{
    if (!test::have_tool("convert"))
        GTEST_SKIP() << "ImageMagick makes the image strip";
    const int scale = GetParam();
    const int side = 16 * scale;
    test::TempDir dir;
    std::string strip = dir.file("strip.bmp");
    auto made = test::run_tool({ "convert", "-size", std::to_string(side) + "x" + std::to_string(side),
        "xc:#FF00FF", "-fill", "#FF0000", "-draw",
        "rectangle " + std::to_string(3 * scale) + "," + std::to_string(3 * scale) + " "
            + std::to_string(12 * scale) + "," + std::to_string(12 * scale),
        "-type", "TrueColor", "BMP3:" + strip });
    ASSERT_EQ(made.exit_code, 0);
    std::ifstream in(strip, std::ios::binary);
    Resources resources = sample_resources();
    resources.add_picture(115, std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {}));
    Window owner = make_window({ 0, 26 * scale, 240 * scale, 268 * scale }, ws::visible, white);
    MenuBarInfo info { owner, bar_id, &resources };
    ASSERT_TRUE(create_menu_bar(info));
    Window bar = info.bar;
    ASSERT_EQ(menu_bar_add_bitmap(bar, resources, 115, 1, side, side), 0);
    toolbar_insert_button(bar, 3, { 0, 110, tbstate::enabled, tbstyle::auto_size });
    toolbar_insert_button(bar, 4, { 0, 111, 0, tbstyle::auto_size, no_menu, u"Off" });
    screen->run_until_idle();

    Rect on = *toolbar_item_rect(bar, 3);
    Rect off = *toolbar_item_rect(bar, 4);
    EXPECT_EQ(shown({ on.left + 6 * scale + 8 * scale, on.top + on.height() / 2 }), test::red);
    ColorRef greyed = shown({ off.left + 6 * scale + 8 * scale, off.top + off.height() / 2 });
    EXPECT_NE(greyed, test::red);
    EXPECT_EQ(greyed & 0xFF, greyed >> 8 & 0xFF) << "a grey";
    EXPECT_EQ(greyed >> 8 & 0xFF, greyed >> 16 & 0xFF) << "a grey";
    EXPECT_EQ(shown({ off.left + 6 * scale + 1, off.top + off.height() / 2 }), look::bar)
        << "what is transparent stays so";
    EXPECT_TRUE(test::matches_screenshot(screen->shown(), "menu_bar_disabled_" + std::to_string(scale) + "x"));
    destroy_window(bar);
}

INSTANTIATE_TEST_SUITE_P(Scales, MenuBarIcons, ::testing::Values(1, 2));

}
