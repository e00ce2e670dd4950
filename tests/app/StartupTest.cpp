#include "liba/DateTime.h"
#include "model/Document.h"
#include "model/ScheduleTask.h"
#include "os/PathMacros.h"
#include "skinner/system/HardwareKeys.h"
#include "tests/app/AppScreen.h"
#include "tests/support/Screenshot.h"
#include "tests/skinner/EditionOnly.h"

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

TEST_F(StartupTest, WithoutAnyUsableSkinItWarnsBuildsNoFormAndStillSavesTheSettings)
{
    test::TempDir empty;
    test::EnvironmentOverride bare_program("ORVANTA_APP_PATH", empty.path().c_str());
    write_settings([&](Settings& settings) { settings.skin = u16(home.write("junk.skin", "junk")); });
    bool ran = false;
    screen->call([&] { ran = true; });
    EXPECT_EQ(Startup::run(u""), 0);
    EXPECT_THAT(box->shown,
        ::testing::ElementsAre("Warning|Skin not found or it is incompatible with this version of Orvanta"));
    EXPECT_TRUE(skinner::Form::forms().empty());
    EXPECT_FALSE(ran) << "no loop ran";
    EXPECT_TRUE(exists(empty.file("Orvanta.xml")));
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
