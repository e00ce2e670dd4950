#include "platform/ui/Input.h"
#include "playlist/List.h"
#include "tests/app/explorer/ExplorerFixture.h"

#include <filesystem>

namespace {

using test::ExplorerTest;
using Names = std::vector<std::string>;
namespace fs = std::filesystem;

// A list as another program wrote it: titles, a stream and a text file the
// view does not show, relative paths and a handheld's separators.
constexpr const char* mixed_list = "#EXTM3U\r\n"
                                   "#EXTINF:10,Artist - First\r\n"
                                   "a.wav\r\n"
                                   "#EXTINF:-1,Radio\r\n"
                                   "http://radio.example/stream\r\n"
                                   "#EXTINF:5,Notes\r\n"
                                   "notes.txt\r\n"
                                   "#EXTINF:3,Second\r\n"
                                   "music\\b.mp3\r\n"
                                   "#EXTINF:4,Third\r\n"
                                   "c.ogg\r\n";

class ExplorerPlaylist : public ExplorerTest {
protected:
    void make_mixed_list()
    {
        make_file("a.wav");
        make_folder("music");
        make_file("music/b.mp3");
        make_file("c.ogg");
        list_path = dir.write("files/mixed.m3u", mixed_list);
    }

    std::vector<std::u16string> entry_paths() const
    {
        std::vector<std::u16string> paths;
        auto list = playlist::List::open(test::wide(list_path));
        if (list)
            for (const auto& entry : list->entries())
                paths.push_back(entry.path);
        return paths;
    }

    void open_list_row()
    {
        select(panel->file_list(), { "mixed.m3u" });
        panel->on_item_click(
            panel->file_list(), { 2, panel->file_list().find_file(test::wide(list_path)), {}, {}, 0 });
    }

    std::string list_path;
};

TEST_F(ExplorerPlaylist, ViewingAndLeavingAListLeavesItByteForByte)
{
    make_mixed_list();
    open();
    open_list_row();
    ASSERT_TRUE(panel->is_playlist_mode());
    EXPECT_EQ(names(panel->playlist_list()), (Names { "a.wav", "b.mp3", "c.ogg" }));
    EXPECT_FALSE(panel->file_list().is_visible());
    EXPECT_TRUE(panel->playlist_list().is_visible());
    EXPECT_FALSE(panel->sort_button(0).is_enabled());
    EXPECT_FALSE(document->can_record());
    auto* up = panel->get_container()->get_control(u"btnFolderUp");
    panel->on_click(*up);
    EXPECT_FALSE(panel->is_playlist_mode());
    EXPECT_EQ(test::read_file(list_path), mixed_list);
    // The program ends while it shows the list: still untouched.
    open_list_row();
    panel.reset();
    EXPECT_EQ(test::read_file(list_path), mixed_list);
}

TEST_F(ExplorerPlaylist, DeletingRowsKeepsTheEntriesTheViewDoesNotShowAndTheFiles)
{
    make_mixed_list();
    open();
    open_list_row();
    select(panel->playlist_list(), { "a.wav", "c.ogg" });
    panel->execute_command(u"Delete");
    EXPECT_EQ(names(panel->playlist_list()), Names { "b.mp3" });
    EXPECT_EQ(entry_paths(),
        (std::vector<std::u16string> { u"http://radio.example/stream", u"notes.txt", u"music\\b.mp3" }));
    EXPECT_TRUE(fs::exists(dir.file("files/a.wav"))) << "the sound files stay";
    EXPECT_TRUE(fs::exists(dir.file("files/c.ogg")));
}

TEST_F(ExplorerPlaylist, MovingARowDownIsSavedAndKeepsItSelected)
{
    make_mixed_list();
    open();
    open_list_row();
    select(panel->playlist_list(), { "a.wav" });
    panel->update_menu_bar();
    EXPECT_FALSE(panel->menu_button(u"MoveUp")->is_enabled());
    EXPECT_TRUE(panel->menu_button(u"MoveDown")->is_enabled());
    panel->execute_command(u"MoveDown");
    EXPECT_EQ(names(panel->playlist_list()), (Names { "b.mp3", "a.wav", "c.ogg" }));
    EXPECT_EQ(panel->playlist_list().get_selected_path(), file("a.wav"));
    auto paths = entry_paths();
    ASSERT_EQ(paths.size(), 5u);
    EXPECT_EQ(paths[0], u"music\\b.mp3");
    EXPECT_EQ(paths[3], u"a.wav");
}

TEST_F(ExplorerPlaylist, PasteAddsSoundFilesAsRowsAndKeepsTheClipboard)
{
    make_file("x.wav");
    make_file("y.txt");
    make_file("other.m3u", 0);
    dir.write("files/empty.m3u", "#EXTM3U\r\n");
    open();
    panel->execute_command(u"ShowFolder");
    select(panel->file_list(), { "x.wav", "other.m3u" });
    panel->execute_command(u"Copy");
    panel->change_folder(file("empty.m3u"), true);
    ASSERT_TRUE(panel->is_playlist_mode());
    panel->execute_command(u"Paste");
    EXPECT_EQ(names(panel->playlist_list()), Names { "x.wav" }) << "a playlist is no row";
    EXPECT_EQ(panel->clipboard().size(), 2u);
    auto list = playlist::List::open(file("empty.m3u"));
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->entries().size(), 1u);
    EXPECT_EQ(list->entries()[0].path, file("x.wav"));
    EXPECT_EQ(list->kind(), u"m3u");
}

TEST_F(ExplorerPlaylist, AnAsxListIsWrittenBackAsAsx)
{
    make_file("x.mp3");
    fs::copy_file(test::fixture("playlist/list.asx"), dir.file("files/list.m3u"));
    const auto before = playlist::List::open(file("list.m3u"))->entries().size();
    open();
    panel->change_folder(file("list.m3u"), true);
    ASSERT_TRUE(panel->is_playlist_mode());
    panel->playlist_list().add_file(file("x.mp3"));
    panel->playlist_list().save();
    auto list = playlist::List::open(file("list.m3u"));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->kind(), u"asx");
    EXPECT_EQ(list->entries().size(), before + 1) << "no entry is lost";
}

TEST_F(ExplorerPlaylist, AFileThatIsNoPlaylistLeavesTheViewAsItWas)
{
    make_file("a.wav");
    dir.write("files/broken.m3u", "not a list at all\n\x01\x02");
    open();
    panel->change_folder(file("broken.m3u"), true);
    EXPECT_FALSE(panel->is_playlist_mode());
    EXPECT_EQ(panel->get_folder(), files());
    EXPECT_EQ(names(panel->file_list()), (Names { "broken.m3u", "a.wav" }));
}

// "NewPlaylist" with three files, named by the keys with the proposed name.
TEST_F(ExplorerPlaylist, NewPlaylistOfTheSelectedFilesOpensIt)
{
    for (const char* name : { "a.wav", "b.wav", "c.mp3" })
        make_file(name);
    open();
    select(panel->file_list(), { "a.wav", "b.wav", "c.mp3" });
    panel->execute_command(u"NewPlaylist");
    ASSERT_TRUE(panel->file_list().is_editing());
    EXPECT_EQ(panel->file_list().name_edit().get_text(), u"NewPlaylist1");
    EXPECT_TRUE(panel->clipboard_source().empty());
    screen->key(platform::vk::enter);
    run_keys();
    ASSERT_TRUE(panel->is_playlist_mode());
    EXPECT_EQ(panel->get_folder(), file("NewPlaylist1.m3u"));
    EXPECT_EQ(names(panel->playlist_list()), (Names { "a.wav", "b.wav", "c.mp3" }));
    auto list = playlist::List::open(file("NewPlaylist1.m3u"));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->entries().size(), 3u);
    // Nothing stays armed for a paste into a folder.
    panel->change_folder(files(), false);
    EXPECT_FALSE(panel->build_context_menu(panel->file_list()).children[2].enabled);
}

TEST_F(ExplorerPlaylist, NewPlaylistOverAnExistingOneAnsweredNoKeepsIt)
{
    make_file("a.wav");
    const std::string existing = dir.write("files/mine.m3u", "#EXTM3U\r\n#EXTINF:1,x\r\nold.wav\r\n");
    open();
    select(panel->file_list(), { "a.wav" });
    panel->execute_command(u"NewPlaylist");
    for (std::size_t i = 0; i < panel->file_list().name_edit().get_text().size(); ++i)
        screen->key(platform::vk::back);
    screen->text(u"mine");
    screen->key(platform::vk::enter);
    answer_next(u"btnNo");
    run_keys();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, main_skin.translate(u"on_overwrite_caption"));
    EXPECT_FALSE(panel->is_playlist_mode());
    EXPECT_EQ(test::read_file(existing), "#EXTM3U\r\n#EXTINF:1,x\r\nold.wav\r\n");
}

TEST_F(ExplorerPlaylist, CancellingANewFolderLeavesNoFolderAndNoRow)
{
    make_file("a.wav");
    open();
    panel->execute_command(u"NewFolder");
    ASSERT_TRUE(panel->file_list().is_editing());
    EXPECT_EQ(names(panel->file_list()), (Names { "a.wav", "" }));
    screen->key(platform::vk::escape);
    run_keys();
    EXPECT_EQ(names(panel->file_list()), Names { "a.wav" });
    EXPECT_FALSE(fs::exists(dir.file("files/NewFolder1")));
}

TEST_F(ExplorerPlaylist, NewFolderIsMadeWithTheTypedName)
{
    open();
    panel->execute_command(u"NewFolder");
    screen->text(u"2");
    screen->key(platform::vk::enter);
    run_keys();
    EXPECT_TRUE(fs::is_directory(dir.file("files/NewFolder12")));
    EXPECT_EQ(names(panel->file_list()), Names { "NewFolder12" });
}

}
