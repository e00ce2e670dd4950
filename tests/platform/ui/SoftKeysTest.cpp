#include "platform/core/Resources.h"
#include "platform/ui/HotKeys.h"
#include "platform/ui/Input.h"
#include "platform/ui/MenuBar.h"
#include "platform/ui/Shell.h"
#include "tests/platform/ui/UiTest.h"

#include <string>
#include <vector>

using namespace platform;

namespace {

constexpr ColorRef white = rgb(255, 255, 255);
constexpr std::uint32_t bar_id = 18100;

// The shell's two keys: "Left" acts at once, "Right" drops its menu down.
Resources soft_key_resources()
{
    Resources r;
    r.add_menu(300, { { u"Right", 0, 0, { { u"First", 40002 }, { u"Second", 40003 } } } });
    MenuBarTemplate bar { 300, {} };
    bar.buttons.push_back({ no_image, 18201, tbstate::enabled, tbstyle::auto_size, 0, u"Left" });
    bar.buttons.push_back({ no_image, 18200, tbstate::enabled, tbstyle::drop_down | tbstyle::auto_size, 0,
        u"Right", 0 });
    r.add_menu_bar(bar_id, bar);
    return r;
}

// Each test runs on a shell of the kind; the Pocket PC's is restored after.
class SoftKeys : public test::UiTest, public ::testing::WithParamInterface<ShellKind> {
protected:
    void SetUp() override
    {
        set_shell_kind(GetParam());
        owner = make_window(work_area(), ws::visible, white);
        watched = { msg::init_menu_popup, msg::command, msg::hot_key, msg::key_down };
        set_foreground_window(owner);
        MenuBarInfo info { owner, bar_id, &resources };
        ASSERT_TRUE(create_menu_bar(info));
        bar = info.bar;
        screen->run_until_idle();
        log.clear();
    }

    void TearDown() override
    {
        set_shell_kind(ShellKind::pocket_pc);
        UiTest::TearDown();
    }

    std::vector<std::string> heard() const
    {
        std::vector<std::string> out;
        for (auto& l : log) {
            if (l.id == msg::command)
                out.push_back("command " + std::to_string(l.wparam));
            else if (l.id == msg::init_menu_popup)
                out.push_back("init " + std::to_string(l.lparam));
            else if (l.id == msg::hot_key)
                out.push_back("hot key " + std::to_string(hot_key_key(l.lparam))
                    + (hot_key_modifiers(l.lparam) & mod::key_up ? " up" : " down"));
            else
                out.push_back("key " + std::to_string(l.wparam));
        }
        return out;
    }

    Resources resources = soft_key_resources();
    Window owner {};
    Window bar {};
};

TEST_P(SoftKeys, TheKeysSitAtTheEndsOfTheBarAndPressTheirButtons)
{
    const Rect area = bottom_bar_rect();
    const Rect left = *toolbar_item_rect(bar, 0);
    const Rect right = *toolbar_item_rect(bar, 1);
    EXPECT_EQ(left.left, area.left);
    EXPECT_EQ(right.right, area.right);
    EXPECT_EQ(left.right, right.left);

    screen->key(vk::soft_1);
    screen->run_until_idle();
    EXPECT_EQ(heard(), std::vector<std::string> { "command 18201" });
    log.clear();
    // The right key drops its menu down; Down and Enter choose its first item.
    screen->key(vk::soft_2).key(vk::down, 50).key(vk::enter, 50);
    screen->run_until_idle();
    EXPECT_EQ(heard(), (std::vector<std::string> { "init 18200", "command 40002" }));
}

TEST_P(SoftKeys, ADisabledKeyAndAHiddenBarDoNothing)
{
    toolbar_enable_button(bar, 18201, false);
    screen->key(vk::soft_1);
    screen->run_until_idle();
    EXPECT_TRUE(heard().empty());
    // Without a bar in front the keys are plain keys of the window.
    show_window(bar, sw::hide);
    screen->key(vk::soft_2);
    screen->run_until_idle();
    EXPECT_EQ(heard(), std::vector<std::string> { "key " + std::to_string(vk::soft_2) });
}

TEST_P(SoftKeys, TheBackKeyOverriddenComesAsAHotKeyPressAndRelease)
{
    ASSERT_TRUE(menu_bar_override_key(bar, vk::escape, shmbof::no_default | shmbof::notify,
        shmbof::no_default | shmbof::notify));
    screen->key(vk::escape);
    screen->run_until_idle();
    EXPECT_EQ(heard(), (std::vector<std::string> { "hot key 27 down", "hot key 27 up" }));
    log.clear();
    // An open menu takes it: it closes the menu, and its release is a plain key.
    screen->key(vk::soft_2).key(vk::escape, 50).key(vk::soft_1, 50);
    screen->run_until_idle();
    EXPECT_EQ(heard(), (std::vector<std::string> { "init 18200", "command 18201" }));
}

INSTANTIATE_TEST_SUITE_P(Shells, SoftKeys, ::testing::Values(ShellKind::smartphone, ShellKind::pocket_pc_soft_keys),
    [](const auto& info) { return info.param == ShellKind::smartphone ? "Smartphone" : "PocketPcSoftKeys"; });

TEST(SmartphoneShell, BarsAreAsHighAsTheDevicesAndThePocketPcKeepsItsOwn)
{
    struct Case {
        ScreenMode mode;
        std::int32_t smartphone;
        std::int32_t pocket_pc;
    };
    const Case cases[] = { { { { 176, 220 }, 96 }, 20, 26 }, { { { 240, 320 }, 96 }, 27, 26 },
        { { { 352, 416 }, 96 }, 40, 26 }, { { { 480, 640 }, 192 }, 54, 52 }, { { { 320, 240 }, 96 }, 0, 26 } };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode.size.width);
        ScopedService<Display, headless::HeadlessDisplay> screen(display_slot(), c.mode);
        set_shell_kind(ShellKind::smartphone);
        EXPECT_EQ(bar_height(), c.smartphone);
        EXPECT_EQ(work_area().height(), c.mode.size.height - 2 * c.smartphone);
        set_shell_kind(ShellKind::pocket_pc);
        EXPECT_EQ(bar_height(), c.pocket_pc);
    }
}

}
