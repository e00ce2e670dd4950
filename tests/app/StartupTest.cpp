#include "app/SettingsSkinStore.h"
#include "liba/DateTime.h"
#include "model/Document.h"
#include "model/ScheduleTask.h"
#include "os/Log.h"
#include "os/PathMacros.h"
#include "skinner/system/HardwareKeys.h"
#include "tests/app/AppScreen.h"
#include "tests/support/Screenshot.h"
#include "tests/skinner/EditionOnly.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <gmock/gmock.h>

namespace {

using test::app_folder;
using test::u16;

class StartupTest : public test::AppScreen {
protected:
    static bool exists(const std::string& path) { return std::filesystem::exists(path); }
};

TEST_F(StartupTest, TheDefaultSkinShowsTheMainFormWithTheExplorerPanelUntilItCloses)
{
    ORVANTA_WITHOUT_SOFT_KEYS();
    // The device's root without folders: an explorer that looks the same on every day.
    write_settings([](Settings& settings) {
        settings.explorer_folder = u"/";
        settings.show_folders = false;
    });
    bool ran = false;
    inside_loop(
        [&](MainForm& form) {
            ran = true;
            EXPECT_TRUE(form.is_window_visible());
            EXPECT_TRUE(form.get_control(u"PanelFileExplorer")->is_visible());
            for (const char16_t* panel : { u"PanelLevels", u"PanelEqualizer", u"PanelMoreControls" })
                EXPECT_FALSE(form.get_control(panel)->is_visible()) << platform::to_utf8(panel);
            EXPECT_FALSE(Document::instance()->is_playing()) << "an empty command line plays nothing";
            EXPECT_EQ(form.timer_id(), 0u) << "an idle program's tick sleeps";
            EXPECT_TRUE(test::matches_screenshot(screen->shown(), "app-main-start"));
        },
        500);
    EXPECT_EQ(Startup::run(u""), 0);
    EXPECT_TRUE(ran);
    EXPECT_TRUE(box->shown.empty());
    EXPECT_EQ(Document::instance(), nullptr);
    EXPECT_TRUE(exists(app_folder() + "/Orvanta.xml")) << "the document's end writes the settings";
}

struct BrokenSkin {
    const char* name;
    std::function<std::string(const test::TempDir&)> make;

    friend void PrintTo(const BrokenSkin& skin, std::ostream* out) { *out << skin.name; }
};

class StartupWithBrokenSkin : public StartupTest, public ::testing::WithParamInterface<BrokenSkin> {
};

TEST_P(StartupWithBrokenSkin, FallsBackToTheDefaultSkinAndKeepsTheConfiguredOne)
{
    const std::string configured = GetParam().make(home);
    write_settings([&](Settings& settings) { settings.skin = u16(configured); });
    bool ran = false;
    inside_loop([&](MainForm& form) {
        ran = true;
        EXPECT_TRUE(form.is_window_visible());
    });
    Startup::run(u"");
    EXPECT_TRUE(ran);
    EXPECT_TRUE(box->shown.empty());
    Settings saved;
    saved.load(Settings::file_path());
    EXPECT_EQ(saved.skin, u16(configured));
}

INSTANTIATE_TEST_SUITE_P(Skins, StartupWithBrokenSkin,
    ::testing::Values(BrokenSkin { "Missing", [](const test::TempDir& d) { return d.file("none.skin"); } },
        BrokenSkin { "NotASkin", [](const test::TempDir& d) { return d.write("junk.skin", "not a skin at all"); } },
        BrokenSkin { "CutShort",
            [](const test::TempDir& d) {
                const std::string whole = test::read_file(test::app_folder() + "/skins/Default/Default.skin");
                return d.write("cut.skin", whole.substr(0, whole.size() / 2));
            } },
        BrokenSkin { "AnotherProgramsSkin",
            [](const test::TempDir&) { return test::app_folder() + "/skins/TodayPlugin/Default.skin"; } }),
    [](const auto& info) { return std::string(info.param.name); });

// A program folder with the dialogs' skins and the English texts, but no main skin.
std::string program_without_main_skin(const test::TempDir& dir)
{
    namespace fs = std::filesystem;
    fs::create_directories(dir.file("skins"));
    fs::copy(app_folder() + "/skins/settings", dir.file("skins/settings"), fs::copy_options::recursive);
    fs::copy_file(app_folder() + "/English.lng", dir.file("English.lng"));
    return dir.path();
}

// Keeps the error form's caption as the settings skin would show it with the box.
class CaptionBox : public platform::MessageBox {
public:
    void show(std::u16string_view text, std::u16string_view) override
    {
        shown.push_back(platform::to_utf8(text));
        captions.push_back(platform::to_utf8(get_settings_skin().translate(u"form.Error.Caption.Text")));
    }

    std::vector<std::string> shown, captions;
};

TEST_F(StartupTest, WithoutAnyUsableSkinItWarnsInTheLanguageBuildsNoFormSavesTheSettingsAndFails)
{
    test::TempDir program;
    test::EnvironmentOverride bare_program("ORVANTA_APP_PATH", program_without_main_skin(program).c_str());
    write_settings([&](Settings& settings) { settings.skin = u16(home.write("junk.skin", "junk")); });
    platform::ScopedService<platform::MessageBox, CaptionBox> captions { platform::message_box_slot() };
    bool ran = false;
    screen->call([&] { ran = true; });
    EXPECT_EQ(Startup::run(u""), Startup::failure_exit_code);
    EXPECT_THAT(captions->shown,
        ::testing::ElementsAre("Skin not found or it is incompatible with this version of Orvanta"));
    EXPECT_THAT(captions->captions, ::testing::ElementsAre("Orvanta")) << "not the raw key";
    EXPECT_TRUE(skinner::Form::forms().empty());
    EXPECT_FALSE(ran) << "no loop ran";
    EXPECT_TRUE(exists(program.file("Orvanta.xml")));
}

// The dialogs' skins are checked at start, as the main skin is, rather than end the program
// when a dialog first needs one. (The settings skin loads once per process: one per test.)
class DamagedDialogsSkin : public StartupTest, public ::testing::WithParamInterface<const char*> { };

TEST_P(DamagedDialogsSkin, IsReportedAtStartAndNothingRuns)
{
    const std::string name = GetParam();
    test::TempDir program;
    test::EnvironmentOverride damaged_program("ORVANTA_APP_PATH", program_without_main_skin(program).c_str());
    std::filesystem::copy(app_folder() + "/skins/Default", program.file("skins/Default"),
        std::filesystem::copy_options::recursive);
    const std::string skin = program.file("skins/settings/" + name);
    const std::string whole = test::read_file(skin);
    program.write("skins/settings/" + name, whole.substr(0, whole.size() / 3));
    bool ran = false;
    screen->call([&] { ran = true; });
    EXPECT_EQ(Startup::run(u""), Startup::failure_exit_code);
    EXPECT_THAT(box->shown, ::testing::ElementsAre("Warning|The dialogs' skin is damaged or missing: " + skin));
    EXPECT_TRUE(skinner::Form::forms().empty());
    EXPECT_FALSE(ran);
}

INSTANTIATE_TEST_SUITE_P(Startup, DamagedDialogsSkin, ::testing::Values("settings.skin", "dialogs.skin"),
    [](const auto& info) { return std::string(info.param).substr(0, std::string(info.param).find('.')); });

// A fatal error (a skin found damaged by a form) in the middle of a recording first closes
// the recording, so that its file's header tells its sizes.
TEST_F(StartupTest, AFatalErrorDuringARecordingLeavesItsFileWhole)
{
    // Forked, the child records into this test's own folder.
    GTEST_FLAG_SET(death_test_style, "fast");
    write_settings([&](Settings& settings) { settings.codec = u"PCM"; });
    const std::string folder = home.file("recordings");
    std::filesystem::create_directories(folder);
    EXPECT_EXIT(
        {
            screen->call([&] {
                if (!Document::instance()->record(u16(folder))
                    || !driver->capture(std::vector<std::uint8_t>(16000, 0x10)))
                    std::_Exit(3);
            });
            screen->call([] { os::fatal_error(u"Test", u"a damaged skin"); }, 1000);
            Startup::run(u"");
        },
        ::testing::ExitedWithCode(os::fatal_exit_code), "");
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        files.push_back(entry.path());
    ASSERT_EQ(files.size(), 1u);
    const std::string bytes = test::read_file(files[0].string());
    ASSERT_GT(bytes.size(), 44u) << "what was captured is in the file";
    std::uint32_t riff_size = 0;
    std::memcpy(&riff_size, bytes.data() + 4, 4);
    EXPECT_EQ(riff_size, bytes.size() - 8) << "the header was written when the recording closed";
}

// A settings file that does not read is not overwritten by the defaults without a word: it
// is kept beside, never over an earlier one, the user is told once, and the defaults saved.
TEST_F(StartupTest, ADamagedSettingsFileIsKeptAsideTheUserToldOnceAndTheDefaultsSaved)
{
    const std::string settings = app_folder() + "/Orvanta.xml";
    const std::string cut_short = "<?xml version=\"1.0\"?>\n<Settings><Record channels=\"2\" bi";
    const std::string garbage("\x00\xff\xfe garbage", 12);
    int run = 0;
    for (const std::string& damaged : { cut_short, garbage }) {
        const std::string kept = settings + (run++ == 0 ? ".damaged" : ".damaged-2");
        {
            std::FILE* file = std::fopen(settings.c_str(), "wb");
            ASSERT_NE(file, nullptr);
            std::fwrite(damaged.data(), 1, damaged.size(), file);
            std::fclose(file);
        }
        box->shown.clear();
        close_main_form();
        EXPECT_EQ(Startup::run(u""), 0);
        EXPECT_THAT(box->shown, ::testing::ElementsAre("Warning|The settings file could not be read. It is kept as "
                                    + kept + "; the settings start from their defaults."));
        EXPECT_EQ(test::read_file(kept), damaged);
        EXPECT_NE(test::read_file(settings).find("<Settings"), std::string::npos) << "the defaults were saved";
    }
    box->shown.clear();
    close_main_form();
    EXPECT_EQ(Startup::run(u""), 0);
    EXPECT_TRUE(box->shown.empty()) << "told once";
}

TEST_F(StartupTest, HideLeavesTheFormHiddenButNotifiesTheViewsAndRunsTheLoop)
{
    write_settings([](Settings& settings) { settings.volume = 0.25; });
    bool ran = false;
    inside_loop([&](MainForm& form) {
        ran = true;
        EXPECT_FALSE(form.is_window_visible());
        EXPECT_DOUBLE_EQ(progress_value(form, u"pbOutput"), 0.25) << "the views were notified";
    });
    Startup::run(u"-hide");
    EXPECT_TRUE(ran);
}

TEST_F(StartupTest, AFileOnTheCommandLineIsSelectedAndPlayed)
{
    const std::string wav = make_wav("tone.wav", 3.0);
    inside_loop([&](MainForm& form) {
        EXPECT_TRUE(form.is_window_visible());
        EXPECT_EQ(form.explorer().selection(), u16(wav));
        EXPECT_TRUE(Document::instance()->is_playing());
        EXPECT_EQ(Document::instance()->get_current_file(), u16(wav));
        EXPECT_TRUE(driver->wait_for_line("out open 22050 16 1"));
    });
    Startup::run(u16(wav));
    EXPECT_TRUE(box->shown.empty());
}

TEST_F(StartupTest, ASoxFileOfItsDefault32BitSamplesPlaysAs16Bits)
{
    const std::string wav = home.file("default.wav");
    ASSERT_EQ(test::run_tool({ "sox", "-n", "-r", "48000", wav, "synth", "2", "sine", "440" }).exit_code, 0);
    inside_loop([&](MainForm&) {
        EXPECT_TRUE(Document::instance()->is_playing());
        EXPECT_TRUE(driver->wait_for_line("out open 48000 16 1"));
    });
    Startup::run(u16(wav));
    EXPECT_TRUE(box->shown.empty());
}

// Only the whole command line is a switch; anything else names a file, here
// none that plays: it is reported and the program starts all the same.
class StartupWithUnplayableFile : public StartupTest, public ::testing::WithParamInterface<const char*> {
};

TEST_P(StartupWithUnplayableFile, IsReportedAndTheFormShows)
{
    std::string command_line = GetParam();
    if (command_line == "text file")
        command_line = home.write("notes.wav", "these are no samples");
    bool ran = false;
    inside_loop([&](MainForm& form) {
        ran = true;
        EXPECT_TRUE(form.is_window_visible());
        EXPECT_FALSE(Document::instance()->is_playing());
    });
    Startup::run(u16(command_line));
    EXPECT_TRUE(ran);
    EXPECT_THAT(box->shown, ::testing::ElementsAre("Playback|" + command_line + " cannot be played."));
}

INSTANTIATE_TEST_SUITE_P(CommandLines, StartupWithUnplayableFile,
    ::testing::Values("AppRunAtTime now", "-hide x", "/no/such/file.wav", "text file"));

TEST_F(StartupTest, AppRunAtTimeOutsideEveryTaskRegistersTheNextStartAndShowsTheForm)
{
    bool ran = false;
    inside_loop([&](MainForm& form) {
        ran = true;
        EXPECT_TRUE(form.is_window_visible());
        EXPECT_FALSE(Document::instance()->is_recording());
    });
    Startup::run(u"AppRunAtTime");
    EXPECT_TRUE(ran);
    EXPECT_TRUE(box->shown.empty());
}

TEST_F(StartupTest, AppRunAtTimeInsideATaskRecordsAndSelectsTheRecording)
{
    platform::FileTime now = 0;
    platform::system_time_to_file_time({ 2007, 3, 1, 5, 10, 0, 30, 0 }, now);
    clock->set_local_time(now);
    write_settings([&](Settings& settings) {
        liba::DateTime begin, end;
        begin.set_date(2007, 3, 5);
        begin.set_time(10, 0, 0);
        end.set_date(2007, 3, 5);
        end.set_time(11, 0, 0);
        settings.schedule.insert(ScheduleTask(begin, end));
        settings.folder = u16(home.path());
    });
    bool ran = false;
    inside_loop([&](MainForm& form) {
        ran = true;
        EXPECT_TRUE(form.is_window_visible());
        EXPECT_TRUE(Document::instance()->is_recording());
        EXPECT_EQ(form.explorer().selection(), u16(home.file("1.mp3")));
    });
    Startup::run(u"AppRunAtTime");
    EXPECT_TRUE(ran);
}

TEST_F(StartupTest, TheShellsKeysAreListedAndAnAssignedKeyRunsItsCommand)
{
    write_settings([](Settings& settings) {
        settings.volume = 0.5;
        settings.buttons = { u"", u"VolumeDown" };
    });
    // Button 2 (F2 on the desktop) with the shell's modifier, as the device sends it.
    screen->key(0xC2, 300);
    inside_loop([&](MainForm&) {
        EXPECT_EQ(skinner::HardwareKeys::get_key_count(), 6);
        EXPECT_NEAR(Document::instance()->get_volume(), 0.4, 1e-9);
    });
    Startup::run(u"");
}

}
