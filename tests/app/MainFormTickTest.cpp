#include "dialogs/ErrorForm.h"
#include "model/Document.h"
#include "os/File.h"
#include "model/ipc/CCommClipboard.h"
#include "model/ipc/COrvantaStatus.h"
#include "model/ipc/CSerializableBool.h"
#include "model/ipc/CSerializableString.h"
#include "model/ipc/Comm.h"
#include "platform/core/headless/FakeSleepInhibitor.h"
#include "skinner/widgets/text/ControlFrame.h"
#include "tests/app/AppScreen.h"
#include "tests/model/RecordDoubles.h"

#include <filesystem>
#include <gmock/gmock.h>

namespace {

using test::u16;

std::u16string frame_text(MainForm& form, std::u16string_view id)
{
    auto* frame = dynamic_cast<skinner::ControlFrame*>(form.get_control(id));
    return frame ? frame->text() : u"<no frame>";
}

std::u16string modal_error_message()
{
    auto* error = dynamic_cast<ErrorForm*>(skinner::Form::current_modal());
    if (!error)
        return u"<no error form>";
    auto* message = dynamic_cast<skinner::ControlFrame*>(error->get_control(u"frmMessage"));
    std::u16string text = message ? message->text() : u"<no message>";
    error->close();
    return text;
}

class MainFormTick : public test::AppScreen {
};

TEST_F(MainFormTick, MovesThePositionDisplayAsTheFilePlays)
{
    const std::string wav = make_wav("tone.wav", 10.0);
    double before = -1;
    screen->call(
        [&] {
            MainForm& form = *main_form();
            Document& document = *Document::instance();
            before = progress_value(form, u"pbPosition");
            EXPECT_NEAR(before, document.get_position_fraction(), 1e-9);
            EXPECT_EQ(frame_text(form, u"frmTitle"), u"tone.wav");
            EXPECT_EQ(frame_text(form, u"frmInfo"), u"22kHz 16bit 352kbps");
            // Two seconds through the device: the player reads on.
            driver->play(2 * 22050 * 2);
            ASSERT_TRUE(test::eventually([&] { return document.get_position_fraction() > before + 0.1; }));
        },
        300);
    inside_loop(
        [&](MainForm& form) {
            const double now = progress_value(form, u"pbPosition");
            EXPECT_GT(now, before + 0.1);
            EXPECT_NEAR(now, Document::instance()->get_position_fraction(), 1e-9);
        },
        400);
    Startup::run(u16(wav));
}

TEST_F(MainFormTick, AFailedRecordingIsClosedWholeBeforeItIsReported)
{
    std::u16string message;
    std::u16string file;
    bool recording_under_box = true;
    bool closed_under_box = false;
    screen->call([&] {
        Document& document = *Document::instance();
        auto media = std::make_unique<test::FailingMedia>();
        media->disk_room = 44 + 3000;
        document.set_media(std::move(media));
        Settings& settings = document.get_settings();
        settings.codec = u"PCM";
        settings.channels = 1;
        settings.bits = 16;
        settings.samples = 8000;
        main_form()->execute_command(u"Record");
        ASSERT_TRUE(document.is_recording());
        file = document.get_record_file();
        ASSERT_TRUE(driver->capture(std::vector<std::uint8_t>(16000, 0x10)));
        ASSERT_TRUE(test::eventually([&] { return !document.is_ok(); }));
    });
    // The next tick opens the error form; its own loop runs this. While the
    // box is up, the file is no longer held for writing.
    screen->call(
        [&] {
            recording_under_box = Document::instance()->is_recording();
            closed_under_box = os::File(file, os::File::Mode::read).is_ok();
            message = modal_error_message();
        },
        300);
    inside_loop([&](MainForm&) {
        EXPECT_FALSE(Document::instance()->is_recording());
        EXPECT_TRUE(std::filesystem::exists(platform::to_utf8(file)));
    });
    Startup::run(u"");
    EXPECT_EQ(message,
        u"Recording stopped: the sound could not be recorded or written. What was recorded so far is kept.");
    EXPECT_FALSE(recording_under_box);
    EXPECT_TRUE(closed_under_box);
}

TEST_F(MainFormTick, AnInsertThatCannotGoInNamesWhereItsPartIsKept)
{
    const std::string memo = make_wav("memo.wav", 2.0, 8000);
    const std::string kept = home.file("memo insert1.wav");
    std::u16string message;
    screen->call([&] {
        Document& document = *Document::instance();
        auto media = std::make_unique<test::FailingMedia>();
        media->disk_room = 20000; // the part fits, the merged file does not
        document.set_media(std::move(media));
        ASSERT_TRUE(document.record_insert(u16(memo), 8000));
        ASSERT_TRUE(driver->capture(std::vector<std::uint8_t>(16000, 0x10)));
        ASSERT_TRUE(test::eventually([&] { return document.get_position_seconds() >= 0.625 - 1e-9; }));
        main_form()->execute_command(u"RecordStop");
    });
    screen->call([&] { message = modal_error_message(); }, 300);
    inside_loop([&](MainForm& form) {
        EXPECT_EQ(form.explorer().selection(), u16(kept));
        EXPECT_GE(form.explorer().file_list().find_file(u16(kept)), 0) << "listed";
        EXPECT_EQ(skinner::Form::current_modal(), &form) << "told once";
    },
        300);
    Startup::run(u"");
    EXPECT_EQ(message, u"The recording could not be inserted into memo.wav. It is kept beside it as memo insert1.wav.");
    EXPECT_TRUE(std::filesystem::exists(kept));
}

TEST_F(MainFormTick, TheRecordBeepsComeFromTheProgramFolder)
{
    screen->call([&] {
        main_form()->execute_command(u"Record");
        ASSERT_TRUE(Document::instance()->is_recording());
        main_form()->execute_command(u"RecordStop");
    });
    inside_loop([&](MainForm&) {});
    Startup::run(u"");
    // The shipped sounds, whole: 0.12 s before, 0.2 s after.
    const auto played = sounds->sounds();
    ASSERT_EQ(played.size(), 2u);
    for (const auto& sound : played)
        EXPECT_EQ(sound.format, (platform::WaveFormat { 1, 16, 22050 }));
    EXPECT_EQ(played[0].bytes, 2646u * 2);
    EXPECT_EQ(played[1].bytes, 4410u * 2);
}

// Record's failures: one the tick sees (no input device), and one that leaves
// nothing for it (no file can be made), which the command reports itself.
TEST_F(MainFormTick, ARecordingWithoutAnInputDeviceIsReportedByTheTick)
{
    driver->set_open_fails(true);
    std::u16string message;
    screen->call([&] { main_form()->execute_command(u"Record"); });
    screen->call([&] { message = modal_error_message(); }, 300);
    inside_loop([&](MainForm&) { EXPECT_FALSE(Document::instance()->is_recording()); });
    Startup::run(u"");
    EXPECT_EQ(message,
        u"Recording stopped: the sound could not be recorded or written. What was recorded so far is kept.");
}

TEST_F(MainFormTick, ARecordingWhoseFileCannotBeMadeIsReportedAtOnce)
{
    std::u16string message;
    // Folders that are files, the documents folder too: nothing can be made inside them.
    const std::string plain = home.write("plain", "a file");
    std::unique_ptr<test::EnvironmentOverride> documents;
    screen->call([&] {
        documents = std::make_unique<test::EnvironmentOverride>("HOME", plain.c_str());
        main_form()->explorer().change_folder(u16(plain), false);
        main_form()->execute_command(u"Record");
    });
    screen->call([&] { message = modal_error_message(); }, 100);
    inside_loop([&](MainForm&) { EXPECT_FALSE(Document::instance()->is_recording()); });
    Startup::run(u"");
    EXPECT_EQ(message,
        u"The recording could not be started: its folder cannot be written, or its format cannot be recorded.");
}

TEST_F(MainFormTick, AWindowsMediaFileThatFailsIsReportedAndStopped)
{
    const std::string wma = home.write("song.wma", "no media here");
    std::u16string message;
    screen->call([&] { message = modal_error_message(); }, 300);
    inside_loop([&](MainForm&) {
        EXPECT_FALSE(Document::instance()->is_playing());
        EXPECT_EQ(skinner::Form::current_modal(), main_form()) << "reported once";
    },
        600);
    Startup::run(u16(wma));
    EXPECT_EQ(message, u"This Windows Media file cannot be played.");
}

TEST_F(MainFormTick, PlaybackWithoutAnOutputDeviceStopsWithoutAMessage)
{
    const std::string wav = make_wav("tone.wav", 10.0);
    driver->set_open_fails(true);
    inside_loop([&](MainForm& form) {
        EXPECT_FALSE(Document::instance()->is_playing());
        EXPECT_EQ(skinner::Form::current_modal(), &form);
        EXPECT_EQ(progress_value(form, u"pbPosition"), 0.0);
    },
        600);
    Startup::run(u16(wav));
    EXPECT_TRUE(box->shown.empty());
}

TEST_F(MainFormTick, HoldsOneSleepLockWhilePlayingOrRecordingAndNoneWhenStopped)
{
    platform::ScopedService<platform::SleepInhibitor, platform::headless::FakeSleepInhibitor> inhibitor {
        platform::sleep_inhibitor_slot()
    };
    const std::string wav = make_wav("tone.wav", 10.0);
    std::vector<std::string> seen;
    const auto look = [&] {
        seen.push_back(std::to_string(inhibitor->locks()) + " " + platform::to_utf8(inhibitor->reason()));
    };
    screen->call(look, 400);
    screen->call([] { Document::instance()->stop(); });
    screen->call(look, 400);
    screen->call([] { main_form()->execute_command(u"Record"); });
    screen->call([&] {
        EXPECT_TRUE(Document::instance()->is_recording());
        look();
    },
        400);
    screen->call([] { Document::instance()->stop(); });
    screen->call(look, 400);
    close_main_form();
    Startup::run(u16(wav));
    EXPECT_EQ(seen, (std::vector<std::string> { "1 Playing", "0 ", "1 Recording", "0 " }));
    EXPECT_EQ(inhibitor->taken(), 2u) << "a lock is taken once, not at every tick";
}

TEST_F(MainFormTick, StoppingARecordingShowsTheWaitCursorWhileItDrains)
{
    using platform::CursorShape;
    std::vector<CursorShape> started;
    std::vector<CursorShape> stopped;
    screen->call([&] {
        started = screen->cursors();
        main_form()->execute_command(u"Record");
        ASSERT_TRUE(Document::instance()->is_recording());
        main_form()->execute_command(u"Stop");
        EXPECT_FALSE(Document::instance()->is_recording());
        stopped = screen->cursors();
    });
    close_main_form();
    Startup::run(u"");
    EXPECT_EQ(started, (std::vector { CursorShape::wait, CursorShape::arrow })) << "the start-up's wait";
    EXPECT_EQ(stopped,
        (std::vector { CursorShape::wait, CursorShape::arrow, CursorShape::wait, CursorShape::arrow }));
}

TEST_F(MainFormTick, AChangeRecordUpdatesOnlyWhatItsFlagsName)
{
    const std::string wav = make_wav("tone.wav", 10.0);
    inside_loop([&](MainForm& form) {
        Document& document = *Document::instance();
        document.stop();
        document.set_volume(0.3);
        form.update(Document::Changes(false, false, false, true));
        EXPECT_NEAR(progress_value(form, u"pbOutput"), 0.3, 1e-9);
        EXPECT_EQ(frame_text(form, u"frmTitle"), u"tone.wav") << "the state flag was not set";
        EXPECT_FALSE(form.get_control(u"btnPlay")->is_enabled() == false) << "still as while playing";
        form.update(Document::Changes(false, false, true, false));
        EXPECT_EQ(frame_text(form, u"frmTitle"), u"");
        EXPECT_EQ(frame_text(form, u"frmInfo"), u"");
        EXPECT_FALSE(form.get_control(u"btnStop")->is_enabled());
    });
    Startup::run(u16(wav));
}

// What a second launch hands over.
class SecondLaunch : public test::AppScreen {
};

TEST_F(SecondLaunch, AFileIsPlayedAndTheHiddenFormShown)
{
    const std::string wav = make_wav("tone.wav", 10.0);
    inside_loop([&](MainForm& form) {
        ASSERT_FALSE(form.is_window_visible());
        form.on_copy_data(u16(wav));
        EXPECT_TRUE(form.is_window_visible());
        EXPECT_TRUE(Document::instance()->is_playing());
        EXPECT_EQ(Document::instance()->get_current_file(), u16(wav));
    });
    Startup::run(u"-hide");
}

TEST_F(SecondLaunch, HideChangesNothing)
{
    inside_loop([&](MainForm& form) {
        form.on_copy_data(u"-hide");
        EXPECT_FALSE(form.is_window_visible());
        EXPECT_FALSE(Document::instance()->is_recording());
    });
    Startup::run(u"-hide");
}

TEST_F(SecondLaunch, AnEmptyLineInTheForegroundStartsARecordingAndThenStopsIt)
{
    inside_loop([&](MainForm& form) {
        Document& document = *Document::instance();
        form.on_copy_data(u"");
        EXPECT_TRUE(document.is_recording());
        form.on_copy_data(u"");
        EXPECT_FALSE(document.is_recording());
    });
    Startup::run(u"");
}

// The Today item's requests, as the channel hands them to the main form.
struct RequestCase {
    const char* name;
    CommCommand command;
    std::u16string request; // "%wav%" stands for a playable file
    bool result;
    bool playing;
    bool shown;

    friend void PrintTo(const RequestCase& c, std::ostream* out) { *out << c.name; }
};

class TodayRequests : public test::AppScreen, public ::testing::WithParamInterface<RequestCase> {
};

TEST_P(TodayRequests, AreAnsweredAndActedOn)
{
    const RequestCase& c = GetParam();
    std::u16string request = c.request;
    if (const auto at = request.find(u"%wav%"); at != std::u16string::npos)
        request.replace(at, 5, u16(make_wav("tone.wav", 10.0)));
    inside_loop([&](MainForm& form) {
        CCommClipboard& stack = CCommClipboard::GetInstance();
        stack.Clear();
        ASSERT_TRUE(CSerializableString(request).Write(stack));
        EXPECT_EQ(comm_invoke(static_cast<std::int64_t>(c.command)), 1) << "a reply was pushed";
        CSerializableBool reply;
        ASSERT_TRUE(reply.Read(stack));
        EXPECT_EQ(reply.get_value(), c.result);
        EXPECT_EQ(Document::instance()->is_playing(), c.playing);
        EXPECT_EQ(form.is_window_visible(), c.shown);
    });
    Startup::run(u"-hide");
}

INSTANTIATE_TEST_SUITE_P(Requests, TodayRequests,
    ::testing::Values(RequestCase { "PlayAndShow", CommCommand::play_file, u"%wav%,y", true, true, true },
        RequestCase { "PlayHidden", CommCommand::play_file, u"%wav%,n", true, true, false },
        RequestCase { "PlayWithAPathCutByItsWidth", CommCommand::play_file, u"/" + std::u16string(250, u'a') + u",y",
            false, false, false },
        RequestCase { "PlayWithTextAfterTheLastField", CommCommand::play_file, u"%wav%,y,more", false, false, false },
        RequestCase { "RecordInAnUnknownFormat", CommCommand::record, u"/tmp/x.wav,9,n", false, false, false },
        RequestCase { "RecordWithANonNumberFormat", CommCommand::record, u"/tmp/x.wav,one,n", false, false, false },
        RequestCase { "NextWithNothingPlaying", CommCommand::play_offset, u"1,n", false, false, false }),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SecondLaunch, AStatusRequestWhilePlayingTellsTheFile)
{
    const std::string wav = make_wav("tone.wav", 10.0);
    inside_loop([&](MainForm&) {
        CCommClipboard& stack = CCommClipboard::GetInstance();
        stack.Clear();
        ASSERT_TRUE(CSerializableBool(false).Write(stack));
        EXPECT_EQ(comm_invoke(static_cast<std::int64_t>(CommCommand::get_status)), 1);
        CSerializableBool done;
        ASSERT_TRUE(done.Read(stack));
        EXPECT_TRUE(done.get_value());
        COrvantaStatus status;
        ASSERT_TRUE(status.Read(stack));
        EXPECT_EQ(status.state, COrvantaStatus::playing);
        EXPECT_EQ(status.get_path(), u16(wav));
        EXPECT_EQ(status.format, COrvantaStatus::format_wav);
        EXPECT_EQ(status.sample_rate, 22050);
        EXPECT_EQ(status.stereo, COrvantaStatus::mono);
    });
    Startup::run(u16(wav));
}

}
