#include "app/SettingsSkinStore.h"
#include "app/explorer/ExplorerDialogs.h"
#include "app/explorer/Id3TagForm.h"
#include "app/explorer/SelectFileForm.h"
#include "app/explorer/SelectFolderForm.h"
#include "audio/Id3Tag.h"
#include "tests/app/explorer/ExplorerFixture.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

namespace {

using test::ExplorerTest;
using Names = std::vector<std::string>;
using namespace std::string_literals;
namespace fs = std::filesystem;

class ExplorerCommands : public ExplorerTest {
protected:
    ~ExplorerCommands() override { explorer_dialogs() = m_installed; }

    // What the program installed, put back after each test.
    ExplorerDialogs m_installed = explorer_dialogs();

    std::vector<std::string> enabled_entries(const skinner::MenuEntry& menu)
    {
        std::vector<std::string> result;
        for (const auto& entry : menu.children) {
            if (entry.enabled)
                result.push_back(test::narrow(entry.id));
            for (const auto& child : entry.children)
                if (child.enabled && entry.enabled)
                    result.push_back(test::narrow(child.id));
        }
        return result;
    }
};

TEST_F(ExplorerCommands, WithoutSelectionTheFileMenuOffersOnlyWhatNeedsNone)
{
    make_file("a.wav");
    open();
    panel->file_list().unselect_all();
    EXPECT_EQ(enabled_entries(panel->build_context_menu(panel->file_list())),
        (Names { "NewFolder", "NewPlaylist", "Refresh" }));
    panel->execute_command(u"ShowFolder");
    EXPECT_EQ(
        enabled_entries(panel->build_context_menu(panel->file_list())), (Names { "NewPlaylist", "Refresh" }));
}

TEST_F(ExplorerCommands, OneSoundFileEnablesItsCommandsByExtension)
{
    make_file("a.WAV");
    make_file("b.Mp3");
    open();
    select(panel->file_list(), { "a.WAV" });
    EXPECT_EQ(enabled_entries(panel->build_context_menu(panel->file_list())),
        (Names { "Cut", "Copy", "Delete", "Rename", "NewFolder", "NewPlaylist", "Beam", "Infrared", "Mail",
            "Bookmarks", "WavToMp3", "Route", "Properties", "Refresh" }));
    select(panel->file_list(), { "b.Mp3" });
    const auto enabled = enabled_entries(panel->build_context_menu(panel->file_list()));
    EXPECT_NE(std::find(enabled.begin(), enabled.end(), "Id3Tags"), enabled.end());
    EXPECT_EQ(std::find(enabled.begin(), enabled.end(), "WavToMp3"), enabled.end());
}

TEST_F(ExplorerCommands, MenuBarShowsTheClipboardOrTheRecordCommands)
{
    make_file("a.wav");
    open();
    select(panel->file_list(), { "a.wav" });
    panel->update_menu_bar();
    for (const char16_t* id : { u"ShowFolder", u"RecordOperation", u"Cut", u"Copy", u"Paste", u"Delete" })
        EXPECT_TRUE(panel->menu_button(id)->own_visible()) << test::narrow(id);
    EXPECT_FALSE(panel->menu_button(u"Paste")->own_enabled());
    EXPECT_FALSE(panel->menu_button(u"Overwrite")->own_visible());
    panel->execute_command(u"RecordOperation");
    panel->update_menu_bar();
    EXPECT_FALSE(panel->menu_button(u"Cut")->own_visible());
    EXPECT_TRUE(panel->menu_button(u"Overwrite")->own_enabled());
    EXPECT_TRUE(panel->menu_button(u"Append")->own_enabled());
    EXPECT_FALSE(panel->menu_button(u"Insert")->own_enabled()) << "nothing plays";
}

TEST_F(ExplorerCommands, MailStartsTheMailProgramWithTheFileAttached)
{
    make_file("memo.wav");
    fs::create_directories(dir.file("bin"));
    fs::create_symlink(ORVANTA_ARGV_RECORDER, dir.file("bin/xdg-email"));
    test::EnvironmentOverride path("PATH", dir.file("bin").c_str());
    test::EnvironmentOverride log("ORVANTA_ARGV_LOG", dir.file("argv").c_str());
    open();
    select(panel->file_list(), { "memo.wav" });
    panel->execute_command(u"Mail");
    EXPECT_TRUE(seen.empty());
    for (int i = 0; i < 500 && !fs::exists(dir.file("argv")); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(test::read_file(dir.file("argv")), "--attach\0"s + dir.file("files/memo.wav") + '\0');
}

TEST_F(ExplorerCommands, MailWithoutAMailProgramIsRefusedWithAMessage)
{
    make_file("memo.wav");
    fs::create_directories(dir.file("bin"));
    test::EnvironmentOverride path("PATH", dir.file("bin").c_str());
    open();
    select(panel->file_list(), { "memo.wav" });
    answer_next();
    panel->execute_command(u"Mail");
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].message, main_skin.translate(u"on_no_mail_program"));
}

// Commands whose forms another part of the program supplies.
TEST_F(ExplorerCommands, CommandsWithoutTheirFormAreRefusedWithAMessage)
{
    explorer_dialogs() = ExplorerDialogs {};
    make_file("a.wav");
    make_file("b.mp3");
    open();
    for (const auto& [name, command] :
        { std::pair { "a.wav", u"WavToMp3" }, { "a.wav", u"Infrared" }, { "b.mp3", u"Id3Tags" } }) {
        select(panel->file_list(), { name });
        answer_next();
        panel->execute_command(command);
    }
    ASSERT_EQ(seen.size(), 3u);
    for (const auto& shown : seen)
        EXPECT_EQ(shown.caption, main_skin.translate(u"on_form_missing_caption"));
    EXPECT_FALSE(fs::exists(dir.file("files/a.mp3")));
}

TEST_F(ExplorerCommands, TagsOfAnMp3InCapitalsAreEditedAndWritten)
{
    make_file("LOUD.MP3", 400, 'm');
    open();
    explorer_dialogs().edit_tag = [](skinner::Form&, audio::Id3Tag& tag) {
        tag.title = u"Loud";
        return true;
    };
    select(panel->file_list(), { "LOUD.MP3" });
    panel->execute_command(u"Id3Tags");
    EXPECT_EQ(audio::Id3Tag(file("LOUD.MP3")).title, u"Loud");
}

TEST_F(ExplorerCommands, TheProgramsTagFormEditsTheTag)
{
    make_file("song.mp3", 400, 'm');
    open();
    select(panel->file_list(), { "song.mp3" });
    screen->call([] {
        auto* form = dynamic_cast<Id3TagForm*>(skinner::Form::current_modal());
        ASSERT_NE(form, nullptr);
        form->title().set_text(u"Song");
        form->on_click(*form->get_control(u"btnOk"));
    });
    panel->execute_command(u"Id3Tags");
    EXPECT_EQ(audio::Id3Tag(file("song.mp3")).title, u"Song");
}

TEST_F(ExplorerCommands, InfraredOpensTheBeamFormOverTheSelectedFile)
{
    make_file("memo.wav");
    open();
    select(panel->file_list(), { "memo.wav" });
    std::u16string shown;
    screen->call([&shown] {
        skinner::Form* form = skinner::Form::current_modal();
        ASSERT_NE(form, nullptr);
        auto* name = dynamic_cast<skinner::ControlFrame*>(form->get_control(u"frmFileName"));
        shown = name ? name->text() : u"<none>";
        form->close();
    });
    panel->execute_command(u"Infrared");
    EXPECT_EQ(shown, u"memo.wav");
}

TEST_F(ExplorerCommands, ConvertingOntoAnExistingTwinAnsweredNoChangesNeitherFile)
{
    make_file("memo.wav", 40, 'w');
    make_file("memo.mp3", 30, 'm');
    open();
    bool converted = false;
    explorer_dialogs().convert = [&](skinner::Form&, const std::u16string&, const std::u16string&) {
        converted = true;
        return ExplorerDialogs::ConvertResult::done;
    };
    select(panel->file_list(), { "memo.wav" });
    answer_next(u"btnNo");
    panel->execute_command(u"WavToMp3");
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, main_skin.translate(u"on_overwrite_caption"));
    EXPECT_FALSE(converted);
    EXPECT_EQ(test::read_file(dir.file("files/memo.mp3")), std::string(30, 'm'));
    EXPECT_EQ(test::read_file(dir.file("files/memo.wav")), std::string(40, 'w'));
}

TEST_F(ExplorerCommands, AnUnreadableSourceIsReportedAndTheOldTargetKept)
{
    make_file("memo.wav", 40, 'w');
    make_file("memo.mp3", 30, 'm');
    open();
    select(panel->file_list(), { "memo.wav" });
    answer_next(u"btnYes");
    answer_next();
    panel->execute_command(u"WavToMp3");
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].caption, main_skin.translate(u"on_overwrite_caption"));
    EXPECT_EQ(seen[1].form, u"Error");
    EXPECT_EQ(seen[1].message, get_settings_skin().translate(u"on_failed_to_convert"));
    EXPECT_EQ(test::read_file(dir.file("files/memo.mp3")), std::string(30, 'm'));
    EXPECT_EQ(panel->file_list().get_selected_path(), file("memo.wav"));
    EXPECT_EQ(names(panel->file_list()), (Names { "memo.mp3", "memo.wav" })) << "no temporary file is left";
}

TEST_F(ExplorerCommands, ConversionShowsTheNewFileSelected)
{
    make_file("memo.wav", 40, 'w');
    open();
    explorer_dialogs().convert = [&](skinner::Form&, const std::u16string&, const std::u16string& target) {
        std::ofstream(test::narrow(target)) << "mp3";
        return ExplorerDialogs::ConvertResult::done;
    };
    select(panel->file_list(), { "memo.wav" });
    panel->execute_command(u"WavToMp3");
    EXPECT_EQ(panel->file_list().get_selected_path(), file("memo.mp3"));
}

TEST_F(ExplorerCommands, ActionKeyOpensAFolderAndArrowsSelectTheFirstRow)
{
    make_folder("sub");
    make_file("sub/x.wav");
    open();
    panel->file_list().unselect_all();
    EXPECT_TRUE(panel->on_key(skinner::key::down));
    EXPECT_EQ(panel->file_list().get_selected_path(), file("sub"));
    EXPECT_TRUE(panel->on_key(skinner::key::enter));
    EXPECT_EQ(panel->get_folder(), file("sub"));
}

TEST_F(ExplorerCommands, SelectingRowsRaisesTheGeneralAndStateFlags)
{
    make_file("a.wav");
    open();
    test::RecordingView view;
    select(panel->file_list(), { "a.wav" });
    panel->on_selection_changed(panel->file_list());
    ASSERT_FALSE(view.seen.empty());
    EXPECT_TRUE(view.seen.back().general);
    EXPECT_TRUE(view.seen.back().state);
    EXPECT_FALSE(view.seen.back().position);
}

class Pickers : public ExplorerTest { };

TEST_F(Pickers, FilePickerListsTheChosenTypeAndReturnsTheSelection)
{
    make_file("a.wav");
    make_file("b.mp3");
    make_folder("sub");
    open();
    SelectFileForm form(host.get(), get_settings_skin());
    // The folder chosen in the combo box's tree.
    form.folder_combo().path_frame().set_text(files());
    form.on_selection_changed(form.folder_combo());
    EXPECT_EQ(form.folder(), files());
    EXPECT_EQ(names(form.file_list()), (Names { "a.wav", "b.mp3" }));
    std::int32_t wav = -1;
    for (std::size_t i = 0; i < form.types().items.size(); ++i)
        if (form.types().items[i].extensions == std::vector<std::u16string> { u"wav" })
            wav = std::int32_t(i);
    ASSERT_GE(wav, 0);
    form.choose_type(wav);
    EXPECT_EQ(names(form.file_list()), Names { "a.wav" });
    select(form.file_list(), { "a.wav" });
    screen->call([&form] { form.on_click(*form.get_control(u"btnOk")); });
    EXPECT_TRUE(form.run());
    EXPECT_EQ(form.get_selected_files(), std::vector { file("a.wav") });
}

TEST_F(Pickers, FilePickerUpAtTheRootStaysThere)
{
    open();
    SelectFileForm form(host.get(), get_settings_skin());
    EXPECT_EQ(form.folder(), u"/");
    form.on_click(*form.get_control(u"btnUp"));
    EXPECT_EQ(form.folder(), u"/");
    form.set_folder(files());
    form.on_click(*form.get_control(u"btnUp"));
    EXPECT_EQ(form.folder(), test::wide(dir.path()));
}

TEST_F(Pickers, FolderPickerReturnsTheChosenFolderOrNothing)
{
    make_folder("a");
    make_folder("b");
    open();
    SelectFolderForm form(host.get(), get_settings_skin());
    screen->call([&form] { form.on_click(*form.get_control(u"btnOk")); });
    EXPECT_TRUE(form.run());
    EXPECT_EQ(form.get_folder(), u"") << "no folder chosen";
    auto* node = form.tree().find_node(file("b"));
    ASSERT_NE(node, nullptr);
    form.tree().select_node(node);
    EXPECT_EQ(form.get_folder(), file("b"));
    EXPECT_EQ(form.name_frame().text(), file("b"));
}

TEST_F(Pickers, FolderPickerReachesAFolderBelowALinkedFolder)
{
    fs::create_directories(dir.file("elsewhere/deep/deeper"));
    fs::create_directory_symlink(dir.file("elsewhere"), dir.file("files/linked"));
    open();
    SelectFolderForm form(host.get(), get_settings_skin());
    skinner::ControlTreeFolderNode* node = form.tree().find_node(file("linked/deep"));
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->children().size(), 1u) << "the folder below the link opens too";
    form.tree().select_node(node);
    screen->call([&form] { form.on_click(*form.get_control(u"btnOk")); });
    EXPECT_TRUE(form.run());
    EXPECT_EQ(form.get_folder(), file("linked/deep"));
}

TEST_F(Pickers, AddFolderAddsItsSoundFilesToTheShownPlaylist)
{
    make_folder("music");
    make_file("music/a.wav");
    make_file("music/b.txt");
    make_file("music/c.m3u");
    dir.write("files/list.m3u", "#EXTM3U\r\n");
    open();
    panel->change_folder(file("list.m3u"), true);
    screen->call([this] {
        auto* form = dynamic_cast<SelectFolderForm*>(skinner::Form::current_modal());
        ASSERT_NE(form, nullptr);
        form->tree().select_node(form->tree().find_node(file("music")));
        form->on_click(*form->get_control(u"btnOk"));
    });
    panel->execute_command(u"AddFolder");
    EXPECT_EQ(names(panel->playlist_list()), Names { "a.wav" });
}

}
