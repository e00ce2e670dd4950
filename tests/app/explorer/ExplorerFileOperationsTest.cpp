#include "app/SettingsSkinStore.h"
#include "app/explorer/ExplorerManager.h"
#include "liba/Path.h"
#include "platform/ui/Input.h"
#include "tests/app/explorer/ExplorerFixture.h"

#include <filesystem>

namespace {

using test::ExplorerTest;
using Names = std::vector<std::string>;
namespace fs = std::filesystem;

// A manager whose questions are answered from a list and whose reports are
// kept; it may press its own cancel button once a copy is under way.
class ScriptedManager : public ExplorerManager {
public:
    using ExplorerManager::ExplorerManager;

    std::vector<int> answers;
    std::vector<std::u16string> asked;
    std::vector<std::u16string> reported;
    bool cancel_mid_file = false;
    bool progress_shown = false;

    bool on_progress(const std::u16string& path, const std::u16string& message, double file_fraction,
        double total_fraction) override
    {
        progress_shown = progress_shown || progress_form().is_window_visible();
        if (cancel_mid_file && file_fraction > 0.0 && file_fraction < 1.0)
            progress_form().on_click(*progress_form().get_control(u"btnCancel"));
        return ExplorerManager::on_progress(path, message, file_fraction, total_fraction);
    }

protected:
    int ask(std::u16string_view key, std::u16string_view source, std::u16string_view target) override
    {
        asked.push_back(message_text(key, source, target));
        if (answers.empty())
            return 4;
        const int answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    }

    void report(std::u16string_view key, std::u16string_view source, std::u16string_view target) override
    {
        reported.push_back(message_text(key, source, target));
    }
};

class ExplorerFileOperations : public ExplorerTest {
protected:
    ScriptedManager manager(std::u16string_view confirm = u"Confirm5Way")
    {
        return ScriptedManager(*host, get_settings_skin(), confirm);
    }

    bool exists(const std::string& name) const { return fs::exists(dir.file("files/" + name)); }
};

TEST_F(ExplorerFileOperations, CutAndPasteMovesFilesWithTheirBookmarksAndEmptiesTheClipboard)
{
    make_folder("to");
    make_file("memo.wav");
    make_file("memo.wav.bm", 20, 'b');
    make_file("song.mp3");
    open();
    select(panel->file_list(), { "memo.wav", "song.mp3" });
    panel->execute_command(u"Cut");
    EXPECT_TRUE(panel->clipboard_moves());
    panel->change_folder(file("to"), false);
    EXPECT_TRUE(panel->build_context_menu(panel->file_list()).children[2].enabled) << "Paste is offered";
    panel->execute_command(u"Paste");
    EXPECT_TRUE(exists("to/memo.wav"));
    EXPECT_TRUE(exists("to/memo.wav.bm"));
    EXPECT_TRUE(exists("to/song.mp3"));
    EXPECT_FALSE(exists("memo.wav"));
    EXPECT_FALSE(exists("memo.wav.bm"));
    EXPECT_TRUE(panel->clipboard().empty());
    EXPECT_FALSE(panel->build_context_menu(panel->file_list()).children[2].enabled) << "Paste is not offered";
    EXPECT_EQ(names(panel->file_list()), (Names { "memo.wav", "song.mp3" }));
}

TEST_F(ExplorerFileOperations, PasteIsNotOfferedInTheFolderTheFilesCameFrom)
{
    make_file("a.wav");
    open();
    select(panel->file_list(), { "a.wav" });
    panel->execute_command(u"Copy");
    EXPECT_FALSE(panel->build_context_menu(panel->file_list()).children[2].enabled);
}

TEST_F(ExplorerFileOperations, DeleteAskedYesRemovesRecordingAndBookmarks)
{
    make_file("memo.wav");
    make_file("memo.wav.bm");
    make_file("keep.wav");
    open();
    select(panel->file_list(), { "memo.wav" });
    answer_next(u"btnYes");
    panel->execute_command(u"Delete");
    ASSERT_EQ(seen.size(), 1u) << "one question, none for the bookmark file";
    EXPECT_EQ(seen[0].message, main_skin.translate(u"on_delete"));
    EXPECT_FALSE(exists("memo.wav"));
    EXPECT_FALSE(exists("memo.wav.bm"));
    EXPECT_EQ(names(panel->file_list()), Names { "keep.wav" });
}

TEST_F(ExplorerFileOperations, DeleteAnsweredNoKeepsEverything)
{
    make_file("memo.wav");
    make_file("memo.wav.bm");
    open();
    select(panel->file_list(), { "memo.wav" });
    answer_next(u"btnNo");
    panel->execute_command(u"Delete");
    EXPECT_TRUE(exists("memo.wav"));
    EXPECT_TRUE(exists("memo.wav.bm"));
}

TEST_F(ExplorerFileOperations, DeletingThePlayingFileStopsPlaybackFirst)
{
    make_file("a.wav");
    open();
    media->add(file("a.wav"));
    select(panel->file_list(), { "a.wav" });
    ASSERT_TRUE(panel->play_selection());
    answer_next(u"btnYes");
    panel->execute_command(u"Delete");
    EXPECT_FALSE(document->is_playing());
    EXPECT_FALSE(exists("a.wav"));
}

TEST_F(ExplorerFileOperations, YesToAllOverwritesTheRestWithoutAsking)
{
    make_folder("to");
    std::vector<std::u16string> sources;
    for (const char* name : { "1.wav", "2.wav", "3.wav", "4.wav", "5.wav" }) {
        make_file(name, 10, 'n');
        make_file(std::string("to/") + name, 10, 'o');
        sources.push_back(file(name));
    }
    open();
    ScriptedManager copier = manager();
    copier.answers = { 2 };
    EXPECT_TRUE(copier.copy_files(sources, file("to")));
    EXPECT_EQ(copier.asked.size(), 1u);
    for (const char* name : { "1.wav", "2.wav", "3.wav", "4.wav", "5.wav" })
        EXPECT_EQ(test::read_file(dir.file(std::string("files/to/") + name)), std::string(10, 'n')) << name;
    EXPECT_TRUE(copier.progress_shown);
    EXPECT_FALSE(copier.progress_form().is_window_visible()) << "hidden once done";
}

TEST_F(ExplorerFileOperations, CancelOnTheOverwriteQuestionStopsAtOnce)
{
    make_folder("to");
    std::vector<std::u16string> sources;
    for (const char* name : { "1.wav", "2.wav" }) {
        make_file(name, 10, 'n');
        make_file(std::string("to/") + name, 10, 'o');
        sources.push_back(file(name));
    }
    open();
    ScriptedManager copier = manager();
    copier.answers = { 4 };
    EXPECT_FALSE(copier.copy_files(sources, file("to")));
    EXPECT_EQ(copier.asked.size(), 1u);
    EXPECT_EQ(test::read_file(dir.file("files/to/2.wav")), std::string(10, 'o'));
}

TEST_F(ExplorerFileOperations, CancelDuringACopyLeavesNoPartialTarget)
{
    make_folder("to");
    make_file("first.wav", 100);
    make_file("long.wav", 200000);
    open();
    ScriptedManager copier = manager();
    copier.cancel_mid_file = true;
    EXPECT_FALSE(copier.copy_files({ file("first.wav"), file("long.wav") }, file("to")));
    EXPECT_TRUE(exists("to/first.wav")) << "what was copied before stays";
    EXPECT_FALSE(exists("to/long.wav")) << "no partial target";
    EXPECT_TRUE(exists("long.wav"));
}

TEST_F(ExplorerFileOperations, MovingAFolderIntoItselfIsReportedWithBothPathsAndNothingMoves)
{
    make_folder("outer/inner");
    make_file("a.wav");
    open();
    ScriptedManager mover = manager();
    EXPECT_FALSE(mover.move_files({ file("a.wav"), file("outer") }, file("outer/inner")));
    ASSERT_EQ(mover.reported.size(), 1u);
    EXPECT_NE(mover.reported[0].find(file("outer")), std::u16string::npos);
    EXPECT_NE(mover.reported[0].find(file("outer/inner")), std::u16string::npos);
    EXPECT_TRUE(exists("a.wav"));
}

TEST_F(ExplorerFileOperations, ErrorsAreShownInTheErrorFormWithTheirTexts)
{
    make_folder("outer/inner");
    open();
    ExplorerManager real(*host, get_settings_skin(), u"Confirm5Way");
    answer_next();
    real.move_files({ file("outer") }, file("outer/inner"));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].form, u"Error");
    EXPECT_EQ(seen[0].caption, main_skin.translate(u"on_recursive_operation_error_caption"));
}

struct RenameCase {
    const char* name;
    const char* typed;
    const char* expected; // the file afterwards, or null when refused
};

class ExplorerRename : public ExplorerFileOperations, public ::testing::WithParamInterface<RenameCase> { };

// Renaming by the keys: the row's name box, typed text, Enter.
TEST_P(ExplorerRename, TypedNameKeepsTheExtensionOrIsRefused)
{
    const RenameCase& c = GetParam();
    make_file(c.name);
    make_file(std::string(c.name) + ".bm", 3, 'b');
    open();
    select(panel->file_list(), { c.name });
    panel->execute_command(u"Rename");
    ASSERT_TRUE(panel->file_list().is_editing());
    const skinner::ControlEdit& box = panel->file_list().name_edit();
    EXPECT_EQ(box.get_text(), liba::get_file_title(test::wide(c.name)));
    EXPECT_EQ(box.selection_start(), 0) << "the name is selected, so typing replaces it";
    EXPECT_EQ(box.selection_end(), std::int32_t(box.get_text().size()));
    if (std::string_view(c.typed).empty())
        screen->key(platform::vk::back);
    screen->text(test::wide(c.typed));
    screen->key(platform::vk::enter);
    if (!c.expected)
        answer_next();
    run_keys();
    EXPECT_FALSE(panel->file_list().is_editing());
    if (c.expected) {
        EXPECT_TRUE(seen.empty());
        EXPECT_TRUE(exists(c.expected));
        EXPECT_TRUE(exists(std::string(c.expected) + ".bm")) << "the bookmarks follow";
        EXPECT_EQ(names(panel->file_list()), Names { c.expected }) << "the old name is gone";
        EXPECT_EQ(panel->file_list().get_selected_path(), file(c.expected));
    } else {
        ASSERT_EQ(seen.size(), 1u) << "the name is refused with a message";
        EXPECT_EQ(seen[0].caption, main_skin.translate(u"on_invalid_name_caption"));
        EXPECT_TRUE(exists(c.name));
        EXPECT_EQ(names(panel->file_list()), Names { c.name });
    }
}

INSTANTIATE_TEST_SUITE_P(Names, ExplorerRename,
    ::testing::Values(RenameCase { "song.mp3", "title", "title.mp3" },
        RenameCase { "song.mp3", "title.wav", "title.wav.mp3" },
        RenameCase { "memo.wav", "Memo", "Memo.wav" }, RenameCase { "memo.wav", "", nullptr },
        RenameCase { "memo.wav", "..", nullptr }, RenameCase { "memo.wav", "a/b", nullptr },
        RenameCase { "memo.wav", "a\\b", nullptr }));

TEST_F(ExplorerFileOperations, RenameOntoAnExistingFileAnsweredNoChangesNothing)
{
    make_file("a.wav", 3, 'a');
    make_file("a.wav.bm", 3, 'm');
    make_file("b.wav", 3, 'b');
    open();
    ScriptedManager renamer = manager(u"ConfirmYesNo");
    renamer.answers = { 1 };
    EXPECT_TRUE(renamer.rename(file("a.wav"), u"b.wav"));
    EXPECT_EQ(test::read_file(dir.file("files/b.wav")), "bbb");
    EXPECT_TRUE(exists("a.wav"));
    EXPECT_TRUE(exists("a.wav.bm")) << "the bookmarks stay with their recording";
}

TEST_F(ExplorerFileOperations, RenamingThePlayingFileStopsItFirst)
{
    make_file("a.wav");
    open();
    media->add(file("a.wav"));
    select(panel->file_list(), { "a.wav" });
    ASSERT_TRUE(panel->play_selection());
    ScriptedManager renamer = manager(u"ConfirmYesNo");
    EXPECT_TRUE(renamer.rename(file("a.wav"), u"b.wav"));
    EXPECT_FALSE(document->is_playing());
    EXPECT_TRUE(exists("b.wav"));
}

}

#include "platform/headless/ScriptedWaveDriver.h"

namespace {

class ExplorerRecording : public ExplorerFileOperations {
protected:
    platform::ScopedService<platform::WaveDriver, platform::headless::ScriptedWaveDriver> driver {
        platform::wave_driver_slot()
    };
};

TEST_F(ExplorerRecording, TheFileBeingRecordedIsNeitherDeletedNorRenamed)
{
    open();
    Settings& settings = document->get_settings();
    settings.codec = u"PCM";
    settings.channels = 1;
    settings.bits = 16;
    settings.samples = 8000;
    ASSERT_TRUE(document->record(files()));
    const std::u16string recording = document->get_record_file();
    panel->select_path(recording);
    ASSERT_EQ(panel->selection(), recording);
    answer_next(u"btnYes");
    answer_next();
    panel->execute_command(u"Delete");
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].caption, main_skin.translate(u"on_delete_error_caption"));
    EXPECT_TRUE(fs::exists(test::narrow(recording)));

    ScriptedManager renamer = manager(u"ConfirmYesNo");
    EXPECT_FALSE(renamer.rename(recording, u"other.wav"));
    // A change of case alone is refused too.
    std::u16string other_case = liba::get_file_name(recording);
    for (char16_t& c : other_case)
        c = c >= u'a' && c <= u'z' ? char16_t(c - 32) : c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c;
    EXPECT_FALSE(renamer.rename(recording, other_case));
    EXPECT_EQ(renamer.reported.size(), 2u);
    EXPECT_TRUE(fs::exists(test::narrow(recording)));
    document->stop();
}

}
