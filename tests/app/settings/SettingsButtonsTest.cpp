#include "app/settings/SettingsButtons.h"
#include "platform/ui/HotKeys.h"
#include "platform/ui/Input.h"
#include "skinner/system/HardwareKeys.h"
#include "tests/app/settings/SettingsScreen.h"
#include "tests/support/Screenshot.h"

namespace {

using test::SettingsScreen;

class ButtonsPage : public SettingsScreen {
protected:
    ButtonsPage() { platform::seed_hardware_keys(os::registry_store()); }

    static SettingsButtons::ListButtons& rows(SettingsForm& form)
    {
        return control<SettingsButtons::ListButtons>(form, buttons, u"lstButtons");
    }

    static skinner::ControlComboBoxStringReadonly& assign(SettingsForm& form)
    {
        return control<skinner::ControlComboBoxStringReadonly>(form, buttons, u"cbAssign");
    }

    static std::vector<std::u16string> actions_shown(SettingsForm& form)
    {
        std::vector<std::u16string> shown;
        for (const SettingsButtons::Button& row : rows(form).items)
            shown.push_back(assign(form).items[std::size_t(row.action)]);
        return shown;
    }
};

// A form that notes the commands its hardware keys send.
class CommandForm : public skinner::Form {
public:
    using Form::Form;

    bool on_command(std::u16string_view command) override
    {
        commands.emplace_back(command);
        return true;
    }

    std::vector<std::u16string> commands;
};

TEST_F(ButtonsPage, RowsAreTheKeysInOrderThenTheJoystickWithTheStoredActions)
{
    // Seven names for six keys; "play" is no command (names compare with case).
    settings.buttons = { u"Play", u"", u"play", u"Stop", u"NoSuchCommand", u"VolumeUp", u"Record" };
    settings.joy_left_action = u"Prev";
    settings.joy_right_action = u"Next";
    SettingsForm form(nullptr, settings_skin, settings);
    const auto& items = rows(form).items;
    ASSERT_EQ(items.size(), 8u);
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(items[i].name, u"Button " + std::u16string(1, char16_t(u'1' + i)));
        EXPECT_EQ(items[i].kind, SettingsButtons::Kind::hardware_key);
        EXPECT_NE(items[i].icon, nullptr);
    }
    EXPECT_EQ(items[6].name, u"Joystick left");
    EXPECT_EQ(items[6].kind, SettingsButtons::Kind::joystick_left);
    EXPECT_EQ(items[7].name, u"Joystick right");
    EXPECT_EQ(actions_shown(form),
        (std::vector<std::u16string> { u"Play or pause", u"(nothing)", u"(nothing)", u"Stop", u"(nothing)", u"Louder",
            u"Previous file", u"Next file" }));
    EXPECT_EQ(rows(form).get_selected_row(), 0);
    EXPECT_EQ(assign(form).get_current(), 1) << "the combo box shows the selected row's action";

    close(form);
    // One name per key, the unknown ones emptied, the surplus dropped.
    EXPECT_EQ(settings.buttons, (std::vector<std::u16string> { u"Play", u"", u"", u"Stop", u"", u"VolumeUp" }));
    EXPECT_EQ(settings.joy_left_action, u"Prev");
    EXPECT_EQ(settings.joy_right_action, u"Next");
}

TEST_F(ButtonsPage, TheComboBoxSetsTheSelectedRowsAction)
{
    settings.buttons.clear(); // fewer names than keys: the others have no action
    settings.unmap_when_inactive = true;
    SettingsForm form(nullptr, settings_skin, settings);
    rows(form).set_selected_row(2);
    EXPECT_EQ(assign(form).get_current(), 0);
    assign(form).set_current(8); // record or stop
    rows(form).set_selected_row(6);
    EXPECT_EQ(assign(form).get_current(), 10) << "the joystick's left starts as rewind";
    assign(form).set_current(11);

    // Without a selected row a choice changes nothing.
    rows(form).set_selected_row(-1);
    assign(form).set_current(3);
    control<skinner::ControlCheckBox>(form, buttons, u"chkUnmap").set_checked(false);
    EXPECT_TRUE(settings.buttons.empty());

    close(form);
    EXPECT_EQ(settings.buttons, (std::vector<std::u16string> { u"", u"", u"RecordStop", u"", u"", u"" }));
    EXPECT_EQ(settings.joy_left_action, u"VolumeUp");
    EXPECT_EQ(settings.joy_right_action, u"Forward");
    EXPECT_FALSE(settings.unmap_when_inactive);
}

TEST_F(ButtonsPage, TheSavedAssignmentReachesTheHardwareKeys)
{
    settings.buttons = { u"", u"", u"" };
    {
        SettingsForm form(nullptr, settings_skin, settings);
        rows(form).set_selected_row(0);
        assign(form).set_current(1);
        rows(form).set_selected_row(4);
        assign(form).set_current(3);
        close(form);
    }
    // What the main form does with the record once the dialog has closed.
    CommandForm owner(nullptr, settings_skin, u"Properties");
    skinner::HardwareKeys keys(owner);
    for (std::size_t i = 0; i < settings.buttons.size(); ++i)
        keys.register_key(i, settings.buttons[i]);
    run();
    screen->key(platform::vk::application_1);
    screen->key(platform::vk::application_1 + 4);
    screen->key(platform::vk::application_1 + 1);
    run();
    EXPECT_EQ(owner.commands, (std::vector<std::u16string> { u"Play", u"Stop" }));
}

TEST_F(ButtonsPage, Looks)
{
    settings.buttons = { u"Play", u"Record", u"", u"NewBookmark" };
    SettingsForm form(nullptr, settings_skin, settings);
    form.tab().pages()[buttons]->set_visible(true);
    rows(form).set_selected_row(1);
    run();
    EXPECT_TRUE(test::matches_screenshot(screen->shown(), "settings-buttons"));
}

}
