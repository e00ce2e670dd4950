#include "app/SettingsSkinStore.h"
#include "app/explorer/BookmarksForm.h"
#include "app/explorer/ConfirmForm.h"
#include "app/settings/SettingsForm.h"
#include "model/Document.h"
#include "skinner/widgets/edit/ControlEdit.h"
#include "tests/app/AppScreen.h"

#include <filesystem>

namespace {

using test::u16;
using Names = std::vector<std::string>;

// The desktop asks the program to end (its window's close, a termination
// signal) whatever forms are open.
class CloseRequest : public test::AppScreen {
protected:
    static skinner::Form* innermost() { return skinner::Form::current_modal(); }
};

TEST_F(CloseRequest, WithSettingsAQuestionAndBookmarksOpenEndsTheProgramThroughEachFormsClose)
{
    const std::string wav = make_wav("a.wav", 5.0);
    MainForm* main = nullptr;
    std::string recording;
    Names closed;
    std::int32_t answer = -1;
    // Each step runs inside the form the step before opened.
    screen->call(
        [&] {
            main = main_form();
            ASSERT_NE(main, nullptr);
            main->execute_command(u"Record");
            ASSERT_TRUE(Document::instance()->is_recording());
            recording = platform::to_utf8(Document::instance()->get_record_file());
            main->execute_command(u"Settings");
            closed.push_back("settings");
        },
        50);
    screen->call(
        [&] {
            auto* settings = dynamic_cast<SettingsForm*>(innermost());
            ASSERT_NE(settings, nullptr);
            auto* prefix = dynamic_cast<skinner::ControlEdit*>(
                settings->tab().pages()[0]->get_container()->get_control(u"editPrefix"));
            ASSERT_NE(prefix, nullptr);
            prefix->set_text(u"Closed");
            ConfirmForm question(settings, get_settings_skin(), u"ConfirmYesNo");
            question.set_texts(u"Question", u"Go on?");
            answer = question.ask();
            closed.push_back("question");
        },
        50);
    screen->call(
        [&] {
            ASSERT_NE(dynamic_cast<ConfirmForm*>(innermost()), nullptr);
            main->explorer().select_path(u16(wav));
            main->explorer().execute_command(u"Bookmarks");
            closed.push_back("bookmarks");
        },
        50);
    screen->call([&] { ASSERT_NE(dynamic_cast<BookmarksForm*>(innermost()), nullptr); }, 50);
    screen->close_request(50);

    Startup::run(u"");
    EXPECT_FALSE(screen->stalled()) << "no form waited for input";
    EXPECT_EQ(closed, (Names { "bookmarks", "question", "settings" })) << "innermost first";
    EXPECT_EQ(answer, ConfirmForm::answer_no) << "a question closed unanswered says no";
    EXPECT_EQ(Document::instance(), nullptr);
    Settings saved;
    saved.load(Settings::file_path());
    EXPECT_EQ(platform::to_utf8(saved.prefix), "Closed") << "the settings form saved its pages";
    EXPECT_TRUE(std::filesystem::is_regular_file(recording)) << "the recording was stopped and kept";
}

TEST_F(CloseRequest, WithOnlyTheMainFormEndsLikeExit)
{
    screen->close_request(50);
    Startup::run(u"");
    EXPECT_FALSE(screen->stalled());
    EXPECT_TRUE(std::filesystem::exists(test::app_folder() + "/Orvanta.xml"));
}

TEST_F(CloseRequest, AFormOpenedAsTheOnesAboveCloseClosesAtOnce)
{
    Names closed;
    screen->call(
        [&] {
            MainForm* main = main_form();
            ASSERT_NE(main, nullptr);
            main->execute_command(u"About");
            closed.push_back("about");
            // Code after a form goes on as it would; a form it opens closes at once.
            ConfirmForm late(main, get_settings_skin(), u"ConfirmYesNo");
            late.set_texts(u"Late", u"Still there?");
            late.ask();
            closed.push_back("late");
        },
        50);
    screen->close_request(50);
    Startup::run(u"");
    EXPECT_FALSE(screen->stalled());
    EXPECT_EQ(closed, (Names { "about", "late" }));
}

}
