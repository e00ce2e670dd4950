#include "skinner/system/HardwareKeysImpl.h"

#include "os/Registry.h"
#include "platform/core/Utf8.h"
#include "platform/ui/HotKeys.h"
#include "platform/ui/Input.h"
#include "skinner/core/Listener.h"
#include "skinner/system/HardwareKeys.h"
#include "tests/platform/ui/UiTest.h"
#include "tests/skinner/MenuFormScreen.h"
#include "tests/skinner/TraceCapture.h"
#include "tests/support/TempDir.h"
#include "tests/skinner/EditionOnly.h"


using namespace platform;
using skinner::HardwareKeysImpl;

namespace {

constexpr std::u16string_view keys_path = u"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shell\\Keys";

class HardwareKeys : public test::UiTest {
protected:
    void SetUp() override
    {
        form = make_window({ 0, 26, 240, 268 }, ws::visible, test::green);
        set_active_window(form);
        other = make_window({ 0, 0, 10, 10 }, 0, std::nullopt);
    }

    void add_key(std::u16string_view sub_key, std::u16string_view name, std::u16string_view icon)
    {
        std::u16string path = std::u16string(keys_path) + u"\\" + std::u16string(sub_key);
        if (!name.empty()) {
            ASSERT_TRUE(os::registry_write_string(path, u"Name", name));
        }
        if (!icon.empty()) {
            ASSERT_TRUE(os::registry_write_string(path, u"Icon", icon));
        }
        if (name.empty() && icon.empty()) {
            ASSERT_TRUE(os::registry_write_dword(path, u"Other", 1));
        }
    }

    // Whether the key is free of every window: another window can take it.
    bool is_free(std::uint32_t key)
    {
        if (!register_hot_key(other, 1, mod::win, key))
            return false;
        unregister_hot_key(other, 1);
        return true;
    }

    void press(std::uint32_t key)
    {
        screen->key(key);
        screen->run_until_idle();
    }

    test::TempDir dir;
    os::ScopedRegistryFile registry { dir.file("registry") };
    test::CommandLog listener;
    Window form {};
    Window other {};
};

}

TEST(HardwareKeyCodes, TheLastTwoCharactersOfTheSubKeyAreTheCode)
{
    struct Case {
        std::u16string_view name;
        std::uint32_t code;
    };
    const Case cases[] = {
        { u"40C1", 0xC1 },
        { u"C4", 0xC4 },
        { u"40c5", 0xC5 },
        { u"4", 0 },
        { u"", 0 },
        { u"40G1", 0x01 }, // a character that is no hex digit counts as 0
        { u"40CZ", 0xC0 },
    };
    for (auto& c : cases)
        EXPECT_EQ(HardwareKeysImpl::key_code_from_name(c.name), c.code) << platform::to_utf8(c.name);
}

TEST_F(HardwareKeys, TheShellsKeysAreListedInKeyCodeOrderWithNamesAndIcons)
{
    add_key(u"40C3", u"Button 3", u"ApplicationButton3,0");
    add_key(u"40C1", u"Button 1", u"");
    add_key(u"C2", u"", u"");
    HardwareKeysImpl keys(form, &listener);
    ASSERT_EQ(keys.record_count(), 3u);
    EXPECT_EQ(keys.record(0).key, 0xC1u);
    EXPECT_EQ(keys.record(0).name, u"Button 1");
    EXPECT_EQ(keys.record(0).icon, nullptr);
    EXPECT_EQ(keys.record(1).key, 0xC2u);
    EXPECT_EQ(keys.record(1).name, u"");
    EXPECT_EQ(keys.record(2).key, 0xC3u);
    ASSERT_NE(keys.record(2).icon, nullptr);
    EXPECT_EQ(keys.record(2).icon->size().width, small_icon_side());
    EXPECT_TRUE(keys.record(2).command.empty());

    // Without the shell's list nothing is listed or taken.
    os::ScopedRegistryFile empty(dir.file("empty-registry"));
    HardwareKeysImpl empty_keys(other, &listener);
    EXPECT_EQ(empty_keys.record_count(), 0u);
    empty_keys.register_key(0, u"Play");
}

TEST_F(HardwareKeys, AnAssignedKeyIsTakenAndSendsItsCommandUntilUnassigned)
{
    seed_hardware_keys(os::registry_store());
    HardwareKeysImpl keys(form, &listener);
    ASSERT_EQ(keys.record_count(), 6u);
    const std::uint32_t third = vk::application_1 + 2;

    keys.register_key(2, u"Play");
    EXPECT_EQ(keys.record(2).command, u"Play");
    EXPECT_FALSE(is_free(third));
    press(third);
    EXPECT_EQ(listener.commands, (std::vector<std::u16string> { u"Play" }));

    keys.register_key(2, u"");
    EXPECT_TRUE(is_free(third));
    press(third);
    EXPECT_EQ(listener.commands.size(), 1u) << "a key given back is a key again";

    // Indices outside the list change nothing.
    keys.register_key(6, u"Stop");
    keys.register_key(std::size_t(-1), u"Stop");
    for (std::size_t i = 0; i < keys.record_count(); ++i)
        EXPECT_TRUE(keys.record(i).command.empty());
}

TEST_F(HardwareKeys, TwoRecordsOfOneKeyShareItAndTheFirstAnswers)
{
    add_key(u"40C1", u"First", u"");
    add_key(u"50C1", u"Second", u"");
    HardwareKeysImpl keys(form, &listener);
    keys.register_key(0, u"Play");
    keys.register_key(1, u"Stop");
    press(vk::application_1);
    EXPECT_EQ(listener.commands, (std::vector<std::u16string> { u"Play" }));

    // Clearing either leaves the key with the other one's command.
    keys.register_key(0, u"");
    EXPECT_FALSE(is_free(vk::application_1));
    press(vk::application_1);
    keys.register_key(0, u"Play");
    keys.register_key(1, u"");
    press(vk::application_1);
    EXPECT_EQ(listener.commands, (std::vector<std::u16string> { u"Play", u"Stop", u"Play" }));
}

TEST_F(HardwareKeys, KeysAreGivenBackWhileInactiveWhenAsked)
{
    seed_hardware_keys(os::registry_store());
    HardwareKeysImpl keys(form, &listener);
    keys.register_key(0, u"Play");

    // By default the keys stay taken behind another program.
    Window program = make_window({ 0, 26, 240, 268 }, ws::visible, test::red);
    set_active_window(program);
    EXPECT_FALSE(is_free(vk::application_1));
    set_active_window(form);

    keys.set_release_on_deactivate(true);
    set_active_window(program);
    EXPECT_TRUE(is_free(vk::application_1));
    press(vk::application_1);
    EXPECT_TRUE(listener.commands.empty());

    set_active_window(form);
    EXPECT_FALSE(is_free(vk::application_1));
    press(vk::application_1);
    EXPECT_EQ(listener.commands, (std::vector<std::u16string> { u"Play" }));
}

TEST_F(HardwareKeys, NoKeyStaysTakenOnceTheKeysOrTheirWindowAreGone)
{
    seed_hardware_keys(os::registry_store());
    {
        HardwareKeysImpl keys(form, &listener);
        keys.register_key(0, u"Play");
        keys.register_key(5, u"Stop");
        ASSERT_FALSE(is_free(vk::application_1 + 5));
    }
    EXPECT_TRUE(is_free(vk::application_1));
    EXPECT_TRUE(is_free(vk::application_1 + 5));

    // The main form closed while its keys were taken.
    Window main_form = make_window({ 0, 26, 240, 268 }, ws::visible, test::green);
    auto keys = std::make_unique<HardwareKeysImpl>(main_form, &listener);
    keys->register_key(1, u"Record");
    ASSERT_FALSE(is_free(vk::application_1 + 1));
    destroy_window(main_form);
    EXPECT_TRUE(is_free(vk::application_1 + 1));
    EXPECT_EQ(keys->window(), no_window);
    keys.reset();
}

TEST_F(HardwareKeys, UnknownCommandsFromTheSettingsAreTracedAndNeverSent)
{
    seed_hardware_keys(os::registry_store());
    test::TraceCapture trace(dir);
    HardwareKeysImpl keys(form, &listener);
    keys.set_known_commands({ u"Play", u"Stop" });
    keys.register_key(0, u"Format the card");
    keys.register_key(1, u"Stop");
    EXPECT_TRUE(keys.record(0).command.empty());
    EXPECT_TRUE(is_free(vk::application_1));
    press(vk::application_1);
    press(vk::application_1 + 1);
    EXPECT_EQ(listener.commands, (std::vector<std::u16string> { u"Stop" }));

    const std::string traced = trace.text();
    EXPECT_NE(traced.find("HardwareKeys: ignoring the unknown command Format the card\n"), std::string::npos)
        << traced;
    EXPECT_NE(traced.find("WM_HOTKEY194\n"), std::string::npos) << traced;
}

namespace {

class FormHardwareKeys : public test::MenuFormScreen {
protected:
    test::TempDir dir;
    os::ScopedRegistryFile registry { dir.file("registry") };
    test::CommandLog listener;
    skinner::Form form { nullptr, menus_skin, u"Bar", &listener };
};

}

TEST_F(FormHardwareKeys, APressedKeyReachesTheFormsCommandsAndTheCountIsTheShells)
{
    ORVANTA_POCKET_PC_ONLY();
    seed_hardware_keys(os::registry_store());
    EXPECT_EQ(skinner::HardwareKeys::get_key_count(), 6);
    skinner::HardwareKeys keys(form);
    ASSERT_EQ(keys.get_count(), 6u);
    EXPECT_EQ(keys.get_key(3).name, u"Button 4");
    EXPECT_NE(keys.get_key(3).icon, nullptr);
    keys.register_key(3, u"VolumeUp");
    screen->key(vk::application_1 + 3);
    run();
    EXPECT_EQ(listener.commands, (std::vector<std::u16string> { u"VolumeUp" }));
}
