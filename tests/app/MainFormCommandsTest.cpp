#include "dialogs/ErrorForm.h"
#include "model/Document.h"
#include "platform/core/Launcher.h"
#include "skinner/core/KeyCode.h"
#include "skinner/core/MenuEntry.h"
#include "skinner/widgets/buttons/ControlButtonMultistate.h"
#include "skinner/widgets/text/ControlFrame.h"
#include "skinner/skin/Properties.h"
#include "tests/app/AppScreen.h"

#include <filesystem>
#include <gmock/gmock.h>

namespace {

using test::u16;

// Two WAV files of 20 s, the first selected in the explorer and, unless the
// case says otherwise, playing with both in the play list.
struct Files {
    std::u16string first;
    std::u16string second;
    std::u16string folder;
};

struct CommandCase {
    const char* name;
    const char16_t* command;
    std::function<void(Document&, MainForm&, const Files&)> setup;
    std::function<void(Document&, MainForm&, const Files&)> check;

    friend void PrintTo(const CommandCase& c, std::ostream* out) { *out << c.name; }
};

void play_both(Document& document, MainForm&, const Files& files)
{
    playlist::Entry first, second;
    first.path = files.first;
    second.path = files.second;
    document.set_play_list(u"", { first, second }, 0, false);
    ASSERT_TRUE(document.play_item(0));
}

void stopped(Document& document, MainForm&, const Files&)
{
    document.stop();
}

void recording(Document& document, MainForm& form, const Files&)
{
    document.stop();
    form.execute_command(u"Record");
    ASSERT_TRUE(document.is_recording());
}

void volume_half(Document& document, MainForm&, const Files&)
{
    document.set_volume(0.5);
}

class NamedCommands : public test::AppScreen, public ::testing::WithParamInterface<CommandCase> {
protected:
    NamedCommands()
    {
        files.first = u16(make_wav("a.wav", 20.0));
        files.second = u16(make_wav("b.wav", 20.0));
        files.folder = u16(home.path());
        write_settings([](Settings& settings) { settings.play_mode = PlayMode::PlaylistOnce; });
    }

    Files files;
};

TEST_P(NamedCommands, ChangeTheDocumentAsTheirTableSays)
{
    const CommandCase& c = GetParam();
    bool ran = false;
    inside_loop([&](MainForm& form) {
        Document& document = *Document::instance();
        c.setup(document, form, files);
        form.execute_command(c.command);
        c.check(document, form, files);
        ran = true;
    });
    Startup::run(files.first);
    EXPECT_TRUE(ran);
}

const CommandCase command_cases[] = {
    { "ModeAdvances", u"Mode", play_both,
        [](Document& d, MainForm&, const Files&) { EXPECT_EQ(d.get_play_mode(), PlayMode::PlaylistRepeat); } },
    { "ModeWrapsToTheFirst", u"Mode", [](Document& d, MainForm&, const Files&) { d.set_play_mode(PlayMode::PlaylistShuffle); },
        [](Document& d, MainForm&, const Files&) { EXPECT_EQ(d.get_play_mode(), PlayMode::SingleOnce); } },
    { "NextPlaysTheSecond", u"Next", play_both,
        [](Document& d, MainForm&, const Files& f) { EXPECT_EQ(d.get_current_file(), f.second); } },
    { "PrevGoesBack", u"Prev",
        [](Document& d, MainForm& form, const Files& f) {
            play_both(d, form, f);
            d.play_next();
        },
        [](Document& d, MainForm&, const Files& f) { EXPECT_EQ(d.get_current_file(), f.first); } },
    { "PlayPlaysTheSelection", u"Play", stopped,
        [](Document& d, MainForm&, const Files& f) {
            EXPECT_TRUE(d.is_playing());
            EXPECT_EQ(d.get_current_file(), f.first);
        } },
    { "PlayPauses", u"Play", play_both, [](Document& d, MainForm&, const Files&) { EXPECT_TRUE(d.is_paused()); } },
    { "PlayResumes", u"Play",
        [](Document& d, MainForm& form, const Files& f) {
            play_both(d, form, f);
            d.pause();
        },
        [](Document& d, MainForm&, const Files&) {
            EXPECT_TRUE(d.is_playing());
            EXPECT_FALSE(d.is_paused());
        } },
    { "PlayStopStops", u"PlayStop", play_both, [](Document& d, MainForm&, const Files&) { EXPECT_FALSE(d.is_playing()); } },
    { "PlayStopPlays", u"PlayStop", stopped, [](Document& d, MainForm&, const Files&) { EXPECT_TRUE(d.is_playing()); } },
    { "PlayWhileRecordingStartsNothing", u"Play", recording,
        [](Document& d, MainForm&, const Files&) {
            EXPECT_TRUE(d.is_recording());
            EXPECT_FALSE(d.is_playing());
        } },
    { "RecordStartsInTheExplorersFolderAndSelectsTheFile", u"Record", play_both,
        [](Document& d, MainForm& form, const Files& f) {
            EXPECT_FALSE(d.is_playing()) << "recording stops playback first";
            EXPECT_TRUE(d.is_recording());
            EXPECT_EQ(d.get_record_file(), f.folder + u"/1.mp3");
            EXPECT_EQ(form.explorer().selection(), d.get_record_file());
        } },
    { "RecordPauses", u"Record", recording,
        [](Document& d, MainForm&, const Files&) {
            EXPECT_TRUE(d.is_recording());
            EXPECT_TRUE(d.is_paused());
        } },
    { "RecordResumes", u"Record",
        [](Document& d, MainForm& form, const Files& f) {
            recording(d, form, f);
            d.pause();
        },
        [](Document& d, MainForm&, const Files&) { EXPECT_FALSE(d.is_paused()); } },
    { "RecordStopStops", u"RecordStop", recording,
        [](Document& d, MainForm&, const Files&) { EXPECT_FALSE(d.is_recording()); } },
    { "RecordStopRecords", u"RecordStop", stopped,
        [](Document& d, MainForm&, const Files&) { EXPECT_TRUE(d.is_recording()); } },
    { "StopStopsPlayback", u"Stop", play_both, [](Document& d, MainForm&, const Files&) { EXPECT_FALSE(d.is_playing()); } },
    { "StopFinishesTheRecording", u"Stop", recording,
        [](Document& d, MainForm&, const Files&) {
            EXPECT_FALSE(d.is_recording());
            EXPECT_TRUE(std::filesystem::exists(platform::to_utf8(d.get_record_file())));
        } },
    { "ForwardSkipsFiveSeconds", u"Forward",
        [](Document& d, MainForm& form, const Files& f) {
            play_both(d, form, f);
            d.pause();
            d.seek(0.25);
        },
        [](Document& d, MainForm&, const Files&) { EXPECT_NEAR(d.get_position_seconds(), 10.0, 0.3); } },
    { "RewindSkipsBackFiveSeconds", u"Rewind",
        [](Document& d, MainForm& form, const Files& f) {
            play_both(d, form, f);
            d.pause();
            d.seek(0.5);
        },
        [](Document& d, MainForm&, const Files&) { EXPECT_NEAR(d.get_position_seconds(), 5.0, 0.3); } },
    { "VolumeUp", u"VolumeUp", volume_half,
        [](Document& d, MainForm& form, const Files&) {
            EXPECT_NEAR(d.get_volume(), 0.6, 1e-9);
            EXPECT_NEAR(dynamic_cast<skinner::ControlProgress*>(form.get_control(u"pbOutput"))->value(), 0.6, 1e-9);
        } },
    { "VolumeUpStopsAtFull", u"VolumeUp", [](Document& d, MainForm&, const Files&) { d.set_volume(1.0); },
        [](Document& d, MainForm&, const Files&) { EXPECT_DOUBLE_EQ(d.get_volume(), 1.0); } },
    { "VolumeDown", u"VolumeDown", volume_half,
        [](Document& d, MainForm&, const Files&) { EXPECT_NEAR(d.get_volume(), 0.4, 1e-9); } },
    { "PanelShowsTheModesPanel", u"Panel",
        [](Document&, MainForm& form, const Files&) {
            dynamic_cast<skinner::ControlButtonMultistate*>(form.get_control(u"btnMode"))->set_state(2);
        },
        [](Document&, MainForm& form, const Files&) {
            EXPECT_FALSE(form.get_control(u"PanelFileExplorer")->is_visible());
            EXPECT_FALSE(form.get_control(u"PanelLevels")->is_visible());
            EXPECT_TRUE(form.get_control(u"PanelEqualizer")->is_visible());
            EXPECT_FALSE(form.get_control(u"PanelMoreControls")->is_visible());
        } },
    { "NewBookmarkMarksThePlayingFile", u"NewBookmark", play_both,
        [](Document& d, MainForm&, const Files&) { EXPECT_EQ(d.get_bookmarks().mark_count(), 1); } },
    { "NamesAreCaseSensitive", u"play", stopped,
        [](Document& d, MainForm&, const Files&) { EXPECT_FALSE(d.is_playing()) << "\"play\" goes to the explorer"; } },
    { "ScreenResolutionReloadsTheSkin", u"#ScreenResolution#", play_both,
        [](Document& d, MainForm& form, const Files&) {
            EXPECT_TRUE(d.is_playing());
            EXPECT_TRUE(form.properties().check_version(Startup::skin_version, { 240, 320 }));
        } },
};

INSTANTIATE_TEST_SUITE_P(Table, NamedCommands, ::testing::ValuesIn(command_cases),
    [](const auto& info) { return std::string(info.param.name); });

class MainFormCommands : public test::AppScreen {
};

TEST_F(MainFormCommands, ExitEndsTheLoopWhilePlayingAndTheSettingsAreSaved)
{
    const std::string wav = make_wav("a.wav", 20.0);
    screen->call([] { main_form()->execute_command(u"Exit"); }, 100);
    Startup::run(u16(wav));
    EXPECT_EQ(Document::instance(), nullptr);
    EXPECT_TRUE(std::filesystem::exists(test::app_folder() + "/Orvanta.xml"));
}

TEST_F(MainFormCommands, AboutRunsItsFormModallyOverTheMainForm)
{
    bool about_shown = false;
    MainForm* main = nullptr;
    screen->call(
        [&] {
            main = main_form();
            main->execute_command(u"About");
        },
        100);
    screen->call(
        [&] {
            skinner::Form* about = skinner::Form::current_modal();
            about_shown = about && about != main && about->is_window_visible();
            if (about)
                about->close();
        },
        100);
    inside_loop([](MainForm& form) { EXPECT_EQ(skinner::Form::current_modal(), &form); });
    Startup::run(u"");
    EXPECT_TRUE(about_shown);
}

TEST_F(MainFormCommands, HelpWithoutADesktopOpenerSaysSo)
{
    platform::set_desktop_opener(u"orvanta-test-no-such-opener");
    std::u16string caption, message;
    screen->call([] { main_form()->execute_command(u"Help"); }, 100);
    screen->call(
        [&] {
            auto* error = dynamic_cast<ErrorForm*>(skinner::Form::current_modal());
            if (!error)
                return;
            caption = dynamic_cast<skinner::ControlFrame*>(error->get_control(u"frmCaption"))->text();
            message = dynamic_cast<skinner::ControlFrame*>(error->get_control(u"frmMessage"))->text();
            error->close();
        },
        100);
    inside_loop([](MainForm& form) { EXPECT_EQ(skinner::Form::current_modal(), &form); });
    Startup::run(u"");
    platform::set_desktop_opener(u"xdg-open");
    EXPECT_EQ(caption, u"Help");
    EXPECT_EQ(message, u"No program is installed to open web pages and documents.");
}

TEST_F(MainFormCommands, OnlyTheFileMenuGetsItsFourTranslatedEntries)
{
    inside_loop([](MainForm& form) {
        skinner::MenuEntry file(u"File", u"File");
        form.on_build_menu(*form.get_control(u"MainMenu"), file);
        std::vector<std::string> built;
        for (const skinner::MenuEntry& entry : file.children)
            built.push_back(platform::to_utf8(entry.id + u"=" + entry.text) + (entry.separator_after ? "|" : ""));
        EXPECT_THAT(built, ::testing::ElementsAre("Settings=Settings|", "Help=Help", "About=About", "Exit=Exit|"));
        skinner::MenuEntry mode(u"Mode", u"");
        form.on_build_menu(*form.get_control(u"MainMenu"), mode);
        EXPECT_TRUE(mode.children.empty());
    });
    Startup::run(u"");
}

// The keys of the joystick run the settings' left and right commands.
struct KeyCase {
    const char* name;
    std::uint32_t virtual_key;
    int panel; // btnMode's state
    const char16_t* left;
    const char16_t* right;
    double volume; // after the key, from 0.5
};

class JoystickKeys : public test::AppScreen, public ::testing::WithParamInterface<KeyCase> {
};

TEST_P(JoystickKeys, RunTheirCommands)
{
    const KeyCase& c = GetParam();
    write_settings([&](Settings& settings) {
        settings.volume = 0.5;
        settings.joy_left_action = c.left;
        settings.joy_right_action = c.right;
    });
    screen->call([&] {
        auto* mode = dynamic_cast<skinner::ControlButtonMultistate*>(main_form()->get_control(u"btnMode"));
        mode->set_state(c.panel);
        main_form()->execute_command(u"Panel");
    });
    screen->key(c.virtual_key, 100);
    inside_loop([&](MainForm&) { EXPECT_NEAR(Document::instance()->get_volume(), c.volume, 1e-9); }, 100);
    Startup::run(u"");
}

INSTANTIATE_TEST_SUITE_P(Keys, JoystickKeys,
    ::testing::Values(KeyCase { "LeftRunsTheLeftCommand", 0x25, 0, u"VolumeDown", u"VolumeUp", 0.4 },
        KeyCase { "RightRunsTheRightCommand", 0x27, 0, u"VolumeDown", u"VolumeUp", 0.6 },
        KeyCase { "LeftWithoutItsCommandRunsTheRightOne", 0x25, 0, u"", u"VolumeUp", 0.6 },
        KeyCase { "UpOverTheLevelsPanelRunsTheLeftCommand", 0x26, 1, u"VolumeDown", u"VolumeUp", 0.4 },
        KeyCase { "UpOverTheExplorerGoesToTheExplorer", 0x26, 0, u"VolumeDown", u"VolumeUp", 0.5 },
        KeyCase { "NeitherCommandLeavesTheKeyToTheForm", 0x25, 0, u"", u"", 0.5 }),
    [](const auto& info) { return std::string(info.param.name); });

}
