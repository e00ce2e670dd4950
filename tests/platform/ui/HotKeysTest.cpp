#include "platform/ui/HotKeys.h"

#include "platform/core/RegistryStore.h"
#include "platform/core/Resources.h"
#include "platform/core/Utf8.h"
#include "platform/ui/Icon.h"
#include "platform/ui/Input.h"
#include "platform/ui/MenuBar.h"
#include "tests/platform/ui/UiTest.h"
#include "tests/support/TempDir.h"
#include "tests/support/Tool.h"

using namespace platform;

namespace {

class HotKeys : public test::UiTest {
protected:
    void SetUp() override
    {
        watched = { msg::hot_key, msg::key_down, msg::key_up };
        form = make_window({ 0, 26, 240, 268 }, ws::visible, test::green);
        edit = make_window({ 10, 10, 100, 30 }, ws::visible | ws::child, test::yellow, form);
        set_focus(edit);
        release_shell_hot_key(mod::win, button);
    }

    std::vector<std::string> heard()
    {
        std::vector<std::string> out;
        for (auto& l : log) {
            std::string who = l.window == form ? "form" : "edit";
            if (l.id == msg::hot_key)
                out.push_back(who + " hot " + std::to_string(l.wparam) + " "
                    + std::to_string(hot_key_modifiers(l.lparam)) + " "
                    + std::to_string(hot_key_key(l.lparam)));
            else
                out.push_back(who + (l.id == msg::key_down ? " down " : " up ") + std::to_string(l.wparam));
        }
        log.clear();
        return out;
    }

    static constexpr std::uint32_t button = vk::application_1 + 2;
    Window form {};
    Window edit {};
};

TEST_F(HotKeys, AHotKeyReachesItsWindowWhateverHasTheFocus)
{
    ASSERT_TRUE(register_hot_key(form, 7, mod::win, button));
    screen->key(button);
    screen->run_until_idle();
    EXPECT_EQ(heard(), (std::vector<std::string> { "form hot 7 8 195" }))
        << "and no key message to the edit box";

    // With key_up the release comes too.
    ASSERT_TRUE(register_hot_key(form, 7, mod::win | mod::key_up, button));
    screen->key(button);
    screen->run_until_idle();
    EXPECT_EQ(heard(), (std::vector<std::string> { "form hot 7 8 195", "form hot 7 4104 195" }));

    // Given back, the key is a key again.
    EXPECT_TRUE(unregister_hot_key(form, 7));
    EXPECT_FALSE(unregister_hot_key(form, 7));
    screen->key(button);
    screen->run_until_idle();
    EXPECT_EQ(heard(), (std::vector<std::string> { "edit down 195", "edit up 195" }));
}

TEST_F(HotKeys, ModifiersMustMatch)
{
    ASSERT_TRUE(register_hot_key(form, 1, mod::control, 'P'));
    screen->key('P').key_down(vk::control).key('P').key_up(vk::control);
    screen->run_until_idle();
    EXPECT_EQ(heard(),
        (std::vector<std::string> {
            "edit down 80", "edit up 80", "edit down 17", "form hot 1 2 80", "edit up 17" }));
    unregister_hot_key(form, 1);
}

TEST_F(HotKeys, TheShellAndOtherWindowsHoldTheirKeys)
{
    std::uint32_t held = vk::application_1 + 4;
    EXPECT_FALSE(register_hot_key(form, 1, mod::win, held)) << "the shell holds the application buttons";
    EXPECT_TRUE(release_shell_hot_key(mod::win, held));
    EXPECT_FALSE(release_shell_hot_key(mod::win, held));
    EXPECT_TRUE(register_hot_key(form, 1, mod::win, held));
    EXPECT_FALSE(register_hot_key(edit, 2, mod::win, held)) << "taken by another window";

    // A destroyed window's keys are free again.
    Window gone = make_window({ 0, 0, 10, 10 }, 0, std::nullopt);
    ASSERT_TRUE(register_hot_key(gone, 3, 0, vk::home));
    destroy_window(gone);
    EXPECT_TRUE(register_hot_key(edit, 4, 0, vk::home));
    EXPECT_FALSE(register_hot_key(Window { 999999 }, 5, 0, vk::end));
    unregister_hot_key(form, 1);
    unregister_hot_key(edit, 4);
}

TEST_F(HotKeys, AMenuBarOverridesTheBackKeyWhileInFront)
{
    Resources resources;
    resources.add_menu_bar(1, {});
    MenuBarInfo info { form, 1, &resources };
    ASSERT_TRUE(create_menu_bar(info));
    EXPECT_TRUE(menu_bar_override_key(
        info.bar, vk::escape, shmbof::no_default | shmbof::notify, shmbof::no_default | shmbof::notify));
    screen->key(vk::escape);
    screen->run_until_idle();
    EXPECT_EQ(heard(), (std::vector<std::string> { "form hot 27 0 27", "form hot 27 4096 27" }));
    // Behind another window the key is a key again.
    Window other = make_window({ 0, 26, 240, 268 }, ws::visible, test::red);
    screen->key(vk::escape);
    screen->run_until_idle();
    EXPECT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].window, other);
    destroy_window(info.bar);
}

TEST_F(HotKeys, TheKeyListIsSeededOnceWithNamesAndIcons)
{
    test::TempDir dir;
    RegistryStore store(dir.file("registry"));
    ASSERT_TRUE(seed_hardware_keys(store));
    auto keys = store.sub_keys(RegistryRoot::local_machine, u"SOFTWARE\\Microsoft\\Shell\\Keys");
    ASSERT_TRUE(keys);
    EXPECT_EQ(*keys, (std::vector<std::u16string> { u"40C1", u"40C2", u"40C3", u"40C4", u"40C5", u"40C6" }));
    auto text = [&](std::u16string_view key, std::u16string_view name) {
        auto v = store.get_value(
            RegistryRoot::local_machine, u"SOFTWARE\\Microsoft\\Shell\\Keys\\" + std::u16string(key), name);
        std::u16string s;
        for (std::size_t i = 0; v && i + 1 < v->data.size(); i += 2)
            s += char16_t(v->data[i] | v->data[i + 1] << 8);
        return s.substr(0, s.find(u'\0'));
    };
    EXPECT_EQ(text(u"40C3", u"Name"), u"Button 3");
    std::u16string icon = text(u"40C3", u"Icon");
    EXPECT_EQ(icon, u"ApplicationButton3,0");

    // A list that exists is the user's: left as it is.
    std::u16string mine = u"Mine";
    std::vector<std::uint8_t> bytes;
    for (char16_t c : mine + u'\0')
        bytes.insert(bytes.end(), { std::uint8_t(c), std::uint8_t(c >> 8) });
    store.set_value(RegistryRoot::local_machine, u"SOFTWARE\\Microsoft\\Shell\\Keys\\40C1", u"Name",
        registry_string, bytes);
    ASSERT_TRUE(seed_hardware_keys(store));
    EXPECT_EQ(text(u"40C1", u"Name"), u"Mine");

    // The seeded icon names give the shell's small icons.
    auto small = small_file_icon(icon.substr(0, icon.find(u',')));
    ASSERT_TRUE(small);
    EXPECT_EQ(small->size(), (Size { 16, 16 }));
}

TEST_F(HotKeys, SmallIconsOfFiles)
{
    EXPECT_EQ(small_file_icon(u""), nullptr);
    auto unknown = small_file_icon(u"/no/such/file.exe");
    ASSERT_TRUE(unknown) << "the plain document icon";
    if (!test::have_tool("convert"))
        GTEST_SKIP() << "ImageMagick makes the picture";
    test::TempDir dir;
    std::string gif = dir.file("icon.gif");
    ASSERT_EQ(test::run_tool({ "convert", "-size", "32x32", "xc:#00FF00", "-fill", "#FF0000", "-draw",
                                 "rectangle 8,8 23,23", "-transparent", "#00FF00", gif })
                  .exit_code,
        0);
    auto icon = small_file_icon(platform::from_utf8(gif));
    ASSERT_TRUE(icon);
    ASSERT_EQ(icon->size(), (Size { 16, 16 }));
    EXPECT_EQ(icon->mask().at(0, 0), 0xFFFFFFu) << "the GIF's transparent colour";
    EXPECT_EQ(icon->image().at(8, 8), 0xFF0000u);
    // Drawn with its mask, the transparent part keeps what was there.
    auto target = Bitmap::create(16, 16);
    target->fill(0x0000FF);
    DeviceContext dc = DeviceContext::memory();
    dc.select_bitmap(target.get());
    draw_icon(dc, {}, *icon);
    EXPECT_EQ(target->at(0, 0), 0x0000FFu);
    EXPECT_EQ(target->at(8, 8), 0xFF0000u);
    dc.select_bitmap(nullptr);
}

}
