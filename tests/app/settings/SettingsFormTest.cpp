#include "app/settings/SettingsPlayback.h"
#include "tests/app/settings/SettingsScreen.h"
#include "platform/ui/Display.h"
#include "platform/ui/Screen.h"
#include "tests/support/Screenshot.h"

namespace {

using test::SettingsScreen;

class SettingsFormTest : public SettingsScreen {
protected:
    static skinner::ControlComboBoxStringReadonly& modes(SettingsForm& form)
    {
        return control<skinner::ControlComboBoxStringReadonly>(form, playback, u"cbMode");
    }

    // A change on each of three pages.
    static void change_some(SettingsForm& form)
    {
        modes(form).set_current(3);
        control<skinner::ControlCheckBox>(form, recording, u"chkIncludeDate").set_checked(true);
        control<skinner::ControlCheckBox>(form, buttons, u"chkUnmap").set_checked(false);
    }

    void expect_changed(bool changed)
    {
        EXPECT_EQ(settings.play_mode, changed ? PlayMode::PlaylistRepeat : PlayMode::SingleOnce);
        EXPECT_EQ(settings.include_date, changed);
        EXPECT_EQ(settings.unmap_when_inactive, !changed);
    }
};

TEST_F(SettingsFormTest, TheOkButtonClosesAndEveryPageIsWrittenBack)
{
    SettingsForm form(nullptr, settings_skin, settings);
    run();
    change_some(form);
    expect_changed(false);
    const platform::Rect bar = platform::title_bar_rect();
    screen->tap({ bar.right - bar.height() * 3 / 4, bar.top + bar.height() / 2 });
    form.do_modal();
    EXPECT_FALSE(screen->stalled()) << "OK ends the form's loop";
    expect_changed(true);
}

TEST_F(SettingsFormTest, ClosingWithoutOkWritesBackTooButAFormNeverClosedWritesNothing)
{
    {
        SettingsForm form(nullptr, settings_skin, settings);
        change_some(form);
    }
    expect_changed(false);
    SettingsForm form(nullptr, settings_skin, settings);
    change_some(form);
    close(form);
    expect_changed(true);
}

TEST_F(SettingsFormTest, NamedCommandsEndAtTheForm)
{
    SettingsForm form(nullptr, settings_skin, settings);
    EXPECT_TRUE(form.on_command(u"#ScreenResolution#"));
    EXPECT_TRUE(form.on_command(u"Play"));
}

TEST_F(SettingsFormTest, ThePlayModeIsTheItemIndex)
{
    const std::u16string texts[] = { u"Stop after the file", u"Repeat the file", u"Play all files, then stop",
        u"Repeat all files", u"Shuffle all files" };
    for (int mode = 0; mode < 5; ++mode) {
        settings.play_mode = static_cast<PlayMode>(mode);
        settings.play_turn_off = 60;
        SettingsForm form(nullptr, settings_skin, settings);
        EXPECT_EQ(modes(form).items, std::vector<std::u16string>(std::begin(texts), std::end(texts)));
        EXPECT_EQ(modes(form).face().text(), texts[mode]);
        modes(form).set_current(4 - mode);
        control<ControlComboBoxTurnOff>(form, playback, u"cbTurnOff").select_seconds(61);
        close(form);
        EXPECT_EQ(settings.play_mode, static_cast<PlayMode>(4 - mode));
        EXPECT_EQ(settings.play_turn_off, 0) << "beyond a minute is never";
    }
}

TEST_F(SettingsFormTest, ALanguageWithoutTheModeTextsShowsTheirKeys)
{
    app.write("Bare.lng", "form.SettingPages.tabPlayback.Text Spielen\n");
    settings_skin.load_language(app_file("Bare.lng"));
    SettingsForm form(nullptr, settings_skin, settings);
    EXPECT_EQ(modes(form).items[0], u"PlaybackModeSingleFile");
    EXPECT_EQ(modes(form).items[4], u"PlaybackModeShuffle");
    EXPECT_EQ(form.tab().pages()[playback]->title(), u"Spielen");
}

struct PageLook {
    test::SettingsScreen::Page page;
    const char* screenshot;
};

class SettingsPageLooks : public SettingsFormTest, public ::testing::WithParamInterface<PageLook> {
};

TEST_P(SettingsPageLooks, Screenshot)
{
    settings.prefix = u"Memo";
    settings.folder = u"/home/user/Recordings";
    settings.default_folder = true;
    settings.play_mode = PlayMode::PlaylistShuffle;
    settings.play_turn_off = 30;
    SettingsForm form(nullptr, settings_skin, settings);
    form.tab().pages()[GetParam().page]->set_visible(true);
    run();
    EXPECT_TRUE(test::matches_screenshot(screen->shown(), GetParam().screenshot));
}

INSTANTIATE_TEST_SUITE_P(Pages, SettingsPageLooks,
    ::testing::Values(PageLook { SettingsScreen::recording, "settings-recording" },
        PageLook { SettingsScreen::playback, "settings-playback" },
        PageLook { SettingsScreen::language, "settings-language" }),
    [](const ::testing::TestParamInfo<PageLook>& info) {
        std::string name = info.param.screenshot + std::string_view("settings-").size();
        name[0] = char(std::toupper(name[0]));
        return name;
    });

}

namespace {

// The form on other screens: on its side, and at twice the scale.
class SettingsOtherScreens : public test::SettingsScreen, public ::testing::WithParamInterface<const char*> {
protected:
    SettingsOtherScreens()
        : SettingsScreen(*platform::parse_screen_mode(GetParam()))
    {
    }
};

TEST_P(SettingsOtherScreens, RecordingPage)
{
    settings.prefix = u"Memo";
    settings.default_folder = true;
    settings.folder = u"/home/user/Recordings";
    SettingsForm form(nullptr, settings_skin, settings);
    run();
    EXPECT_TRUE(test::matches_screenshot(screen->shown(), std::string("settings-recording-") + GetParam()));
}

INSTANTIATE_TEST_SUITE_P(Screens, SettingsOtherScreens, ::testing::Values("320x240", "480x640"),
    [](const ::testing::TestParamInfo<const char*>& info) { return info.index == 0 ? "Landscape" : "Scale2"; });

}
