#include "tests/skinner/ListsScreen.h"

#include "skinner/core/MenuEntry.h"
#include "skinner/widgets/tabs/ControlTab.h"
#include "skinner/widgets/tabs/ControlTabElement.h"
#include "skinner/menus/SoftKeyMenu.h"
#include "tests/skinner/EditionOnly.h"

#include <gmock/gmock.h>
#include <memory>

using ::testing::ElementsAre;
using skinner::ControlTabElement;
using skinner::Point;
using skinner::Size;

namespace {

// A page with one field from the page template.
struct Page {
    Page(skinner::ControlTab& tab, std::u16string_view id)
        : page(tab, id)
        , field(*page.get_container(), u"Field")
    {
    }

    ControlTabElement page;
    test::ProbeControl field;
};

class ControlTabTest : public test::ListsScreen {
protected:
    skinner::Form form { nullptr, lists, u"Tabbed", &log };
    skinner::ControlTab tab { form, u"Tabs" };
    std::unique_ptr<Page> a = std::make_unique<Page>(tab, u"PageA");
    std::unique_ptr<Page> b = std::make_unique<Page>(tab, u"PageB");
    std::unique_ptr<Page> c = std::make_unique<Page>(tab, u"PageC");

    void SetUp() override
    {
        form.set_active(true);
        run();
        log.clear();
    }

    // Which pages show, and whether only their fields do.
    std::string shown() const
    {
        std::string result;
        for (const Page* page : { a.get(), b.get(), c.get() }) {
            if (!page)
                continue;
            EXPECT_EQ(page->page.is_visible(), page->field.is_visible());
            if (page->page.is_visible())
                result += test::narrow(page->page.id());
        }
        return result;
    }

    // The centre of a header cell.
    Point header_cell(std::int32_t column)
    {
        Size size;
        const Point corner = tab.header().get_cell_rect(column, 0, size);
        return { corner.x + size.width / 2, corner.y + size.height / 2 };
    }

    void tap(Point point)
    {
        screen->tap(on_screen(form, point));
        run();
    }
};

TEST_F(ControlTabTest, FirstPageShowsAndLaterPagesStartHidden)
{
    ORVANTA_POCKET_PC_ONLY();
    EXPECT_EQ(shown(), "PageA");
    EXPECT_EQ(tab.header().get_selected_column(), 0);
    EXPECT_EQ(a->page.position(), (Point { 0, 20 }));
    EXPECT_EQ(a->page.size(), (Size { 200, 130 }));
}

TEST_F(ControlTabTest, TappingATitleShowsOnlyThatPageAndFocusesIt)
{
    ORVANTA_POCKET_PC_ONLY();
    tap(header_cell(1));
    EXPECT_EQ(shown(), "PageB");
    EXPECT_TRUE(form.focused() == &tab);
    EXPECT_EQ(tab.get_container()->focused(), &b->page);
    tap(header_cell(2));
    EXPECT_EQ(shown(), "PageC");
    EXPECT_EQ(tab.header().get_selected_column(), 2);
}

TEST_F(ControlTabTest, LeftAndRightTurnThePagesWithoutWrapping)
{
    a->page.take_focus();
    struct Step {
        skinner::KeyCode key;
        const char* page;
    };
    const Step steps[] = {
        { skinner::key::left, "PageA" },
        { skinner::key::right, "PageB" },
        { skinner::key::right, "PageC" },
        { skinner::key::right, "PageC" },
        { skinner::key::left, "PageB" },
    };
    for (const Step& step : steps) {
        form.on_keydown(step.key);
        EXPECT_EQ(shown(), step.page) << step.key;
    }
    EXPECT_EQ(tab.header().get_selected_column(), 1);
}

TEST_F(ControlTabTest, TitlesThatFitLeaveTheArrowsZeroWide)
{
    ORVANTA_POCKET_PC_ONLY();
    EXPECT_EQ(tab.header().size(), (Size { 200, 20 }));
    EXPECT_EQ(tab.left_arrow().size().width, 0);
    EXPECT_EQ(tab.right_arrow().size().width, 0);
}

TEST_F(ControlTabTest, WideTitlesBringTheArrowsThatScrollTheHeader)
{
    ORVANTA_POCKET_PC_ONLY();
    ControlTabElement wide { tab, u"Wide" };
    EXPECT_EQ(tab.header().size(), (Size { 200 - 32, 20 }));
    EXPECT_EQ(tab.left_arrow().position(), (Point { 200 - 32, 0 }));
    EXPECT_EQ(tab.right_arrow().position(), (Point { 200 - 16, 0 }));
    EXPECT_EQ(tab.right_arrow().size(), (Size { 16, 20 }));
    // By whole tabs: the first one cut by the arrows comes to the start, and back.
    const std::vector<std::int32_t>& edges = tab.header().column_boundaries();
    std::size_t cut = 0;
    while (cut + 1 < edges.size() && edges[cut + 1] <= 200 - 32)
        ++cut;
    ASSERT_LT(cut + 1, edges.size());
    tab.on_click(tab.right_arrow());
    EXPECT_EQ(tab.header().get_horizontal_offset(), std::min(edges[cut], edges.back() - (200 - 32)));
    tab.on_click(tab.left_arrow());
    EXPECT_EQ(tab.header().get_horizontal_offset(), 0);
}

TEST_F(ControlTabTest, DestroyingTheVisiblePageShowsTheLastOne)
{
    ORVANTA_POCKET_PC_ONLY();
    tap(header_cell(1));
    b.reset();
    EXPECT_EQ(shown(), "PageC");
    a.reset();
    EXPECT_EQ(shown(), "PageC");
}

TEST_F(ControlTabTest, CommandsAndTheMenuNameThePages)
{
    EXPECT_TRUE(tab.on_command(u"PageC"));
    EXPECT_EQ(shown(), "PageC");
    skinner::MenuEntry menu;
    tab.on_build_menu(tab, menu);
    ASSERT_EQ(menu.children.size(), 3U);
    EXPECT_EQ(test::narrow(menu.children[0].id), "PageA");
    EXPECT_EQ(test::narrow(menu.children[1].text), "Second");
    EXPECT_FALSE(menu.children[0].checked);
    EXPECT_TRUE(menu.children[2].checked);
}

TEST_F(ControlTabTest, BottomOrientationPutsTheHeaderBelowThePages)
{
    ORVANTA_POCKET_PC_ONLY();
    skinner::ControlTab bottom { form, u"Bottom" };
    ControlTabElement page { bottom, u"PageA" };
    EXPECT_EQ(page.position(), (Point { 0, 160 }));
    EXPECT_EQ(page.size(), (Size { 200, 30 }));
    EXPECT_EQ(bottom.header().position(), (Point { 0, 190 }));
}

}

namespace {

TEST_F(ControlTabTest, HiddenHeaderPutsTheTabOnTheFormsMenuList)
{
    tab.set_header_visible(false);
    EXPECT_FALSE(tab.header().is_visible());
    EXPECT_EQ(a->page.position(), (Point { 0, 0 }));
    EXPECT_EQ(a->page.size(), (Size { 200, 150 }));
    ASSERT_EQ(form.menu_items().items().size(), 1U);
    skinner::MenuEntry entry;
    tab.build_menu_entry(entry);
    EXPECT_EQ(test::narrow(entry.id), "#smartphone_tab#");
    EXPECT_EQ(entry.owner, &tab);
    tab.set_header_visible(true);
    EXPECT_TRUE(form.menu_items().items().empty());
    EXPECT_EQ(a->page.position(), (Point { 0, 20 }));
}

}

namespace {

TEST_F(ControlTabTest, WithoutATouchScreenThePagesAreOnTheRightSoftKey)
{
    ORVANTA_SMARTPHONE_ONLY();
    EXPECT_FALSE(tab.header_visible());
    EXPECT_EQ(a->page.position(), (Point { 0, 0 }));
    EXPECT_EQ(a->page.size(), (Size { 200, 150 }));
    skinner::MenuEntry right(u"#FakeIdSoft2#", u"");
    skinner::SoftKeyMenu::fill_right(form.menu_items(), lists.translator(), right);
    ASSERT_EQ(right.children.size(), 3u);
    EXPECT_EQ(right.children[0].id, u"PageA");
    EXPECT_TRUE(right.children[0].checked);
    EXPECT_TRUE(right.children[2].separator_after);
    // Choosing a page from the menu shows it.
    right.children[2].owner->on_command(right.children[2].id);
    EXPECT_EQ(shown(), "PageC");
}

}
