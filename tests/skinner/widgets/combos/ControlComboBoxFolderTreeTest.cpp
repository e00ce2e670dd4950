#include "tests/skinner/TreesScreen.h"

#include "platform/ui/Input.h"
#include "skinner/widgets/combos/ControlComboBoxFolderTree.h"
#include "tests/support/Screenshot.h"
#include "tests/support/TempDir.h"
#include "tests/skinner/EditionOnly.h"

#include <gmock/gmock.h>

#include <filesystem>

using ::testing::ElementsAre;
using skinner::ControlTreeFolderNode;
using skinner::Point;
namespace fs = std::filesystem;

namespace {

class ControlComboBoxFolderTreeTest : public test::TreesScreen {
protected:
    test::TempDir temp;
    std::string top = temp.file("Collection");
    skinner::Form form { nullptr, trees, u"FolderCombos", &log };
    skinner::ControlComboBoxFolderTree combo { form, u"Combo" };

    void SetUp() override
    {
        for (const char* folder : { "Music/Albums/Rock/Live Recordings", "Music/Singles", "Spoken" })
            fs::create_directories(fs::path(top) / folder);
        combo.set_path(path(""));
        form.set_active(true);
        run();
        log.clear();
    }

    std::u16string path(const std::string& relative) const
    {
        return platform::from_utf8(relative.empty() ? top : top + "/" + relative);
    }

    platform::Point screen_point(Point client) const { return on_screen(form, client); }
    platform::Point button_point() const { return screen_point({ 200, 20 }); }
    // A row of the drop-down, which opens below the combo box.
    platform::Point row_point(std::int32_t row) const { return screen_point({ 80, 30 + row * 16 + 8 }); }

    // What the open drop-down shows: the selected folder's path and the names of the rows.
    struct Shown {
        std::u16string selected;
        std::vector<std::string> rows;
    };
    Shown shown() const
    {
        Shown out;
        const skinner::ControlTreeFolderSelectionStrategySingleRow* tree = combo.tree();
        if (!tree)
            return out;
        for (std::int32_t row = 0; row < tree->get_item_count(); ++row)
            out.rows.push_back(test::narrow(static_cast<ControlTreeFolderNode*>(tree->node_at(row))->name()));
        if (tree->get_selected_row() >= 0)
            out.selected = static_cast<ControlTreeFolderNode*>(tree->node_at(tree->get_selected_row()))->get_path();
        return out;
    }
};

TEST_F(ControlComboBoxFolderTreeTest, TheDeviceRootReadsAsItsNameAndOpensSelected)
{
    combo.set_path(u"/");
    EXPECT_EQ(combo.get_path(), u"/");
    EXPECT_THAT(combo.path_frame().lines(), ElementsAre(u"My Device"));
    Shown inside;
    screen->tap(button_point()).call([&] { inside = shown(); }, 100).key(platform::vk::escape, 10);
    run();
    EXPECT_EQ(inside.selected, u"/");
    ASSERT_FALSE(inside.rows.empty());
    EXPECT_EQ(inside.rows.front(), "My Device");
    EXPECT_EQ(combo.get_path(), u"/");
    EXPECT_EQ(combo.tree(), nullptr);
}

TEST_F(ControlComboBoxFolderTreeTest, AChosenFolderIsShownExpandedWhenTheDropDownOpensAgain)
{
    // Down to Music, open it, into Albums; Enter closes.
    screen->tap(button_point())
        .key(platform::vk::down, 100)
        .key(platform::vk::right, 10)
        .key(platform::vk::right, 10)
        .key(platform::vk::enter, 10);
    run();
    EXPECT_EQ(combo.get_path(), path("Music/Albums"));
    // The folder selected on opening, then each move; the sender is the tree.
    EXPECT_THAT(log.events, ElementsAre("selection ", "selection ", "selection ", "closed Combo"));

    Shown inside;
    screen->tap(button_point()).call([&] { inside = shown(); }, 100).key(platform::vk::escape, 10);
    run();
    EXPECT_EQ(inside.selected, path("Music/Albums"));
    EXPECT_THAT(inside.rows, ElementsAre("Collection", "Music", "Albums", "Rock", "Singles", "Spoken"));
}

TEST_F(ControlComboBoxFolderTreeTest, TappingAFolderChoosesIt)
{
    screen->tap(button_point()).tap(row_point(2), 100).tap(screen_point({ 230, 220 }), 10);
    run();
    EXPECT_EQ(combo.get_path(), path("Spoken"));
    EXPECT_EQ(combo.root_path(), path(""));
}

TEST_F(ControlComboBoxFolderTreeTest, ClosingWithoutAChoiceKeepsTheFolder)
{
    combo.path_frame().set_text(path("Music/Singles"));
    for (bool by_key : { true, false }) {
        if (by_key)
            screen->tap(button_point()).key(platform::vk::escape, 100);
        else
            screen->tap(button_point()).tap(screen_point({ 230, 220 }), 100);
        run();
        EXPECT_EQ(combo.get_path(), path("Music/Singles"));
    }
    // A folder outside the tree opens with nothing selected and stays chosen.
    combo.path_frame().set_text(u"/nowhere/at/all");
    Shown inside;
    screen->tap(button_point()).call([&] { inside = shown(); }, 100).key(platform::vk::escape, 10);
    run();
    EXPECT_EQ(inside.selected, u"");
    EXPECT_THAT(inside.rows, ElementsAre("Collection", "Music", "Spoken"));
    EXPECT_EQ(combo.get_path(), u"/nowhere/at/all");
}

TEST_F(ControlComboBoxFolderTreeTest, ThePathFrameNamesTheDeviceRootAndKeepsThePath)
{
    skinner::ControlPathFrame frame { form, u"Wide" };
    struct Case {
        std::u16string text;
        std::u16string shown;
    };
    const Case cases[] = {
        { u"/", u"My Device" },
        { u"\\", u"My Device" },
        { u"", u"My Device" },
        { u"/Storage Card", u"/Storage Card" },
        { u"/a/b/", u"/a/b/" },
    };
    for (const Case& c : cases) {
        frame.set_text(c.text);
        EXPECT_EQ(frame.text(), c.text);
        EXPECT_THAT(frame.lines(), ElementsAre(c.shown)) << test::narrow(c.text);
    }
}

TEST_F(ControlComboBoxFolderTreeTest, ALongPathLosesItsStartAndTheDropDownShowsTheTree)
{
    ORVANTA_POCKET_PC_ONLY();
    skinner::ControlPathFrame wide { form, u"Wide" };
    skinner::ControlPathFrame narrow { form, u"Narrow" };
    wide.set_text(u"/");
    narrow.set_text(u"/Storage Card/Recordings/2007/Interview");
    combo.path_frame().set_text(path("Music/Albums/Rock/Live Recordings"));
    bool matches = false;
    screen->tap(button_point())
        .call([&] { matches = test::matches_screenshot(screen->shown(), "folder_combo"); }, 100)
        .key(platform::vk::escape, 10);
    run();
    EXPECT_TRUE(matches);
}

}
