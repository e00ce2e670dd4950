#include "tests/skinner/ListsScreen.h"

#include "platform/ui/Input.h"
#include "skinner/widgets/lists/ControlGrid.h"
#include "skinner/widgets/lists/GridSelectionStrategySingleRow.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using skinner::Control;
using skinner::Point;
using skinner::Size;

namespace {

// A single-row list whose counts, widths and header the test sets; it
// writes down which rows it painted.
class TestGrid : public skinner::ControlGrid, public skinner::GridSelectionStrategySingleRow {
public:
    TestGrid(skinner::Container& container, std::u16string_view id)
        : ControlGrid(container, id)
    {
    }

    std::int32_t rows = 0;
    std::int32_t columns = 1;
    std::vector<std::int32_t> widths;
    std::int32_t header = 0;
    std::int32_t indent = 0;
    std::vector<std::int32_t> painted_rows;
    std::vector<std::int32_t> indent_presses;
    int header_paints = 0;

    std::int32_t get_row_indent(std::int32_t) const override { return indent; }
    void on_row_indent_pressed(const skinner::GridCellEvent& cell) override { indent_presses.push_back(cell.row); }

    std::int32_t get_item_count() const override { return rows; }
    std::int32_t get_column_count() const override { return columns; }
    std::int32_t get_header_height() const override { return header; }
    std::int32_t get_column_width(std::int32_t column) const override
    {
        return std::size_t(column) < widths.size() ? widths[std::size_t(column)] : -1;
    }
    void paint_item(std::int32_t column, std::int32_t row, skinner::Canvas& canvas, Point position, Size size,
        bool selected, bool highlighted) override
    {
        if (column == 0)
            painted_rows.push_back(row);
        get_item_look(selected, highlighted).picture.draw(canvas, position, size);
    }
    void paint_header_item(std::int32_t, skinner::Canvas&, Point, Size) override { ++header_paints; }
};

class ControlGridTest : public test::ListsScreen {
protected:
    skinner::Form form { nullptr, lists, u"Lists", &log };
    TestGrid grid { form, u"Grid" };

    void SetUp() override
    {
        grid.rows = 10;
        grid.refresh();
        form.set_active(true);
        grid.take_focus();
        run();
    }

    // A point inside a row of the grid (x 5 px into the painter).
    Point row_point(std::int32_t visible_row) const
    {
        return { grid.position().x + 5, grid.position().y + grid.get_header_height() + visible_row * 20 + 10 };
    }

    void tap(Point point)
    {
        screen->tap(on_screen(form, point));
        run();
    }

    // Keys as the form's message loop hands them on.
    void key(skinner::KeyCode code)
    {
        form.on_keydown(code);
        form.on_keyup(code);
        run();
    }
};

TEST_F(ControlGridTest, ColumnBoundariesShareTheFreeWidth)
{
    struct Case {
        std::vector<std::int32_t> widths;
        std::int32_t width;
        std::vector<std::int32_t> bounds;
    };
    const Case cases[] = {
        { { 50, -1, -2 }, 350, { 0, 50, 150, 350 } },
        // The last share column takes what integer division left over.
        { { -1, -1, -1 }, 100, { 0, 33, 66, 100 } },
        // Fixed columns wider than the painter leave the shares nothing.
        { { 300, -1, 100 }, 350, { 0, 300, 300, 400 } },
        { { 20, 30 }, 350, { 0, 20, 50 } },
    };
    for (const Case& c : cases) {
        grid.widths = c.widths;
        grid.columns = std::int32_t(c.widths.size());
        grid.set_rect(grid.position(), { c.width, 100 });
        EXPECT_EQ(grid.column_boundaries(), c.bounds) << c.width;
    }
}

TEST_F(ControlGridTest, TenThousandRowsPaintOnlyTheVisibleOnes)
{
    grid.rows = 10000;
    grid.refresh();
    grid.painted_rows.clear();
    run();
    EXPECT_THAT(grid.painted_rows, ElementsAre(0, 1, 2, 3, 4));
    grid.scroll_to(5000);
    grid.painted_rows.clear();
    run();
    EXPECT_THAT(grid.painted_rows, ElementsAre(5000, 5001, 5002, 5003, 5004));
    // The range stops at the last full page.
    grid.scroll_to(20000);
    EXPECT_EQ(grid.get_first_visible_row(), 9995);
}

TEST_F(ControlGridTest, PartlyVisibleLastRowIsPaintedAndClipped)
{
    grid.set_rect(grid.position(), { 200, 90 });
    grid.painted_rows.clear();
    form.invalidate_all();
    run();
    EXPECT_THAT(grid.painted_rows, ElementsAre(0, 1, 2, 3, 4));
    EXPECT_EQ(grid.get_page_rows(), 4);
}

TEST_F(ControlGridTest, HeaderRowTakesItsHeightAboveTheRows)
{
    grid.header = 20;
    grid.refresh();
    grid.painted_rows.clear();
    run();
    EXPECT_THAT(grid.painted_rows, ElementsAre(0, 1, 2, 3));
    EXPECT_GT(grid.header_paints, 0);
    tap(row_point(1));
    EXPECT_EQ(grid.get_selected_row(), 1);
}

TEST_F(ControlGridTest, EmptyGridPaintsOnlyTheHeaderAndIgnoresKeys)
{
    grid.rows = 0;
    grid.header = 20;
    grid.refresh();
    grid.painted_rows.clear();
    grid.header_paints = 0;
    run();
    EXPECT_TRUE(grid.painted_rows.empty());
    EXPECT_EQ(grid.header_paints, 1);
    log.clear();
    key(skinner::key::down);
    EXPECT_TRUE(log.events.empty());
}

TEST_F(ControlGridTest, TapSelectsTheRowAndRaisesItsItemClick)
{
    log.clear();
    tap(row_point(2));
    EXPECT_EQ(grid.get_selected_row(), 2);
    EXPECT_THAT(log.events, ElementsAre("selection Grid", "item Grid 0,2"));
}

// Focus walks stop at the grid: a focused child inside would be taken for it.
TEST_F(ControlGridTest, TheGridKeepsTheFocusForItselfByKeysAndByPen)
{
    EXPECT_TRUE(grid.has_focus());
    EXPECT_EQ(grid.get_container()->focused(), nullptr);
    tap(row_point(2));
    EXPECT_TRUE(grid.has_focus());
    EXPECT_EQ(grid.get_container()->focused(), nullptr);
}

TEST_F(ControlGridTest, TapBelowTheLastRowRaisesNoItemClick)
{
    grid.rows = 3;
    grid.refresh();
    grid.set_selected_row(1);
    log.clear();
    tap(row_point(4));
    EXPECT_EQ(grid.get_selected_row(), 1);
    EXPECT_TRUE(log.events.empty());
}

TEST_F(ControlGridTest, PressAndReleaseMustBothBeOnTheRowsOrTheHeader)
{
    grid.header = 20;
    grid.columns = 2;
    grid.refresh();
    const Point header_point { grid.position().x + 150, grid.position().y + 5 };
    log.clear();
    screen->pen_down(on_screen(form, header_point)).pen_up(on_screen(form, row_point(2)), 10);
    run();
    EXPECT_TRUE(log.events.empty());
    // Pressed on a row, released on the header: the strategy saw the press only.
    screen->pen_down(on_screen(form, row_point(2))).pen_up(on_screen(form, header_point), 10);
    run();
    EXPECT_THAT(log.events, ElementsAre("selection Grid"));
    log.clear();
    tap(header_point);
    EXPECT_THAT(log.events, ElementsAre("header Grid 1"));
}

TEST_F(ControlGridTest, DragMovesTheSelectionWithThePen)
{
    log.clear();
    screen->pen_down(on_screen(form, row_point(0)))
        .pen_move(on_screen(form, row_point(1)), 10)
        .pen_move(on_screen(form, row_point(3)), 10)
        .pen_up(on_screen(form, row_point(3)), 10);
    run();
    EXPECT_EQ(grid.get_selected_row(), 3);
    EXPECT_EQ(log.events.back(), "item Grid 0,3");
}

TEST_F(ControlGridTest, PressInTheRowIndentGoesToTheIndentAlone)
{
    grid.indent = 12;
    log.clear();
    tap({ grid.position().x + 5, row_point(2).y });
    EXPECT_THAT(grid.indent_presses, ElementsAre(2));
    EXPECT_EQ(grid.get_selected_row(), -1);
    EXPECT_TRUE(log.events.empty());
    tap({ grid.position().x + 12, row_point(2).y });
    EXPECT_EQ(grid.get_selected_row(), 2);
    EXPECT_THAT(grid.indent_presses, ElementsAre(2));
}

TEST_F(ControlGridTest, WheelScrollsThreeRowsPerStep)
{
    grid.rows = 100;
    grid.refresh();
    grid.scroll_to(5);
    grid.on_wheel(row_point(0), 1);
    EXPECT_EQ(grid.get_first_visible_row(), 2);
    grid.on_wheel(row_point(0), -2);
    EXPECT_EQ(grid.get_first_visible_row(), 8);
    grid.on_wheel(row_point(0), 10);
    EXPECT_EQ(grid.get_first_visible_row(), 0);
}

TEST_F(ControlGridTest, KeysScrollTheSelectionAcrossPageBoundaries)
{
    grid.rows = 100;
    grid.refresh();
    struct Step {
        skinner::KeyCode code;
        std::int32_t selected;
        std::int32_t first;
    };
    const Step steps[] = {
        { skinner::key::down, 0, 0 },
        { skinner::key::down, 1, 0 },
        { skinner::key::end, 99, 95 },
        { skinner::key::up, 98, 95 },
        { skinner::key::home, 0, 0 },
        { skinner::key::page_down, 1, 0 },
        { skinner::key::down, 2, 0 },
        { skinner::key::down, 3, 0 },
        { skinner::key::down, 4, 0 },
        // Past the page: the list scrolls one row.
        { skinner::key::down, 5, 1 },
        { skinner::key::page_up, 4, 1 },
    };
    for (const Step& step : steps) {
        key(step.code);
        EXPECT_EQ(grid.get_selected_row(), step.selected) << step.code;
        EXPECT_EQ(grid.get_first_visible_row(), step.first) << step.code;
    }
    grid.scroll_to(50);
    key(skinner::key::up);
    EXPECT_EQ(grid.get_first_visible_row(), 3);
}

TEST_F(ControlGridTest, HeldActionKeyOpensTheContextMenuOfTheCurrentRow)
{
    grid.set_selected_row(3);
    log.clear();
    form.on_keydown(skinner::key::enter);
    screen->pause(600);
    run();
    form.on_keyup(skinner::key::enter);
    EXPECT_THAT(log.events, ElementsAre("menu Grid -1,3"));
    // A short press opens nothing.
    log.clear();
    form.on_keydown(skinner::key::enter);
    screen->pause(100);
    run();
    form.on_keyup(skinner::key::enter);
    screen->pause(600);
    run();
    EXPECT_TRUE(log.events.empty());
}

// The menu key, at once; the point is one fifth into the painter for a missing column.
class MenuProbe : public test::EventLog {
public:
    skinner::GridCellEvent last;
    bool on_context_menu(skinner::Control& sender, const skinner::GridCellEvent& cell) override
    {
        last = cell;
        return EventLog::on_context_menu(sender, cell);
    }
};

TEST_F(ControlGridTest, MenuKeyPointsIntoTheCurrentRow)
{
    MenuProbe probe;
    grid.set_selected_row(3);
    form.set_listener(&probe);
    grid.on_keydown(skinner::key::apps);
    EXPECT_THAT(probe.events, ElementsAre("menu Grid -1,3"));
    EXPECT_EQ(probe.last.point.x, grid.position().x + 200 / 5);
    EXPECT_EQ(probe.last.point.y, grid.position().y + 3 * 20 + 10);
    form.set_listener(&log);
}

TEST_F(ControlGridTest, ZeroItemHeightFromTheSkinCountsAsOnePixel)
{
    TestGrid flat { form, u"Flat" };
    flat.rows = 100;
    flat.refresh();
    flat.painted_rows.clear();
    run();
    EXPECT_EQ(flat.get_page_rows(), 40);
    EXPECT_EQ(flat.painted_rows.size(), 40U);
    flat.on_pen_down({ flat.position().x + 3, flat.position().y + 7 }, 0);
    flat.on_pen_up({ flat.position().x + 3, flat.position().y + 7 }, 0);
    EXPECT_EQ(flat.get_selected_row(), 7);
}

TEST_F(ControlGridTest, VerticalBarShowsWhenTheRowsDoNotFitAndScrollsThem)
{
    TestGrid scrolled { form, u"Scrolled" };
    scrolled.rows = 3;
    scrolled.refresh();
    EXPECT_FALSE(scrolled.vscroll().own_visible());
    EXPECT_EQ(scrolled.painter().size(), (Size { 100, 60 }));
    scrolled.rows = 30;
    scrolled.refresh();
    EXPECT_TRUE(scrolled.vscroll().own_visible());
    EXPECT_EQ(scrolled.painter().size(), (Size { 90, 60 }));
    EXPECT_EQ(scrolled.vscroll().position(), (Point { scrolled.position().x + 90, scrolled.position().y }));
    EXPECT_EQ(scrolled.vscroll().get_page(), 3);
    log.clear();
    scrolled.vscroll().set_position(7);
    EXPECT_EQ(scrolled.get_first_visible_row(), 7);
    EXPECT_THAT(log.events, ElementsAre("scroll  7"));
    scrolled.painted_rows.clear();
    run();
    EXPECT_THAT(scrolled.painted_rows, ElementsAre(7, 8, 9));
}

TEST_F(ControlGridTest, CellRectangleIsClippedToThePainter)
{
    grid.columns = 3;
    grid.widths = { 50, 100, 100 };
    grid.refresh();
    grid.set_horizontal_offset(20);
    Size size;
    EXPECT_EQ(grid.get_cell_rect(0, 1, size), (Point { grid.position().x, grid.position().y + 20 }));
    EXPECT_EQ(size, (Size { 30, 20 }));
    EXPECT_EQ(grid.get_cell_rect(2, 1, size), (Point { grid.position().x + 130, grid.position().y + 20 }));
    EXPECT_EQ(size, (Size { 70, 20 }));
    grid.get_cell_rect(3, 1, size);
    EXPECT_EQ(size.width, 0);
}

TEST_F(ControlGridTest, ScrollingAColumnIntoViewShowsItsLeftPartWhenWide)
{
    grid.columns = 3;
    grid.widths = { 150, 100, 300 };
    grid.refresh();
    grid.scroll_column_into_view(1);
    EXPECT_EQ(grid.get_horizontal_offset(), 50);
    grid.scroll_column_into_view(2);
    EXPECT_EQ(grid.get_horizontal_offset(), 250);
    grid.scroll_column_into_view(0);
    EXPECT_EQ(grid.get_horizontal_offset(), 0);
}

class InplaceEditTest : public ControlGridTest {
protected:
    test::ProbeControl editor { *grid.get_container(), u"Editor", { 0, 200, 0, 0 }, skinner::ControlMode::unskinned };

    void SetUp() override
    {
        ControlGridTest::SetUp();
        editor.set_visible(false);
        grid.start_inplace_edit(editor, 0, 7);
        run();
        log.clear();
    }
};

TEST_F(InplaceEditTest, ControlCoversTheCellAndTakesTheFocus)
{
    // Row 7 scrolled into view as the last of five rows.
    EXPECT_EQ(grid.get_first_visible_row(), 3);
    EXPECT_EQ(editor.position(), (Point { grid.position().x, grid.position().y + 4 * 20 }));
    EXPECT_EQ(editor.size(), (Size { 200, 20 }));
    EXPECT_TRUE(editor.is_visible());
    EXPECT_TRUE(editor.has_focus());
    EXPECT_EQ(grid.get_inplace_control(), &editor);
}

TEST_F(InplaceEditTest, KeysGoToTheControlUntilEscapeOrEnter)
{
    editor.clear();
    key(skinner::key::letter_a);
    EXPECT_THAT(editor.events, ::testing::Contains("key 20"));
    key(skinner::key::escape);
    EXPECT_THAT(log.events, ElementsAre("edit-end Grid 0,7 cancel"));
    EXPECT_FALSE(editor.is_visible());
    EXPECT_EQ(grid.get_inplace_control(), nullptr);
    grid.start_inplace_edit(editor, 0, 2);
    log.clear();
    key(skinner::key::enter);
    EXPECT_THAT(log.events, ElementsAre("edit-end Grid 0,2 commit"));
}

TEST_F(InplaceEditTest, EndingCasesCommitOrCancel)
{
    struct Case {
        const char* name;
        std::function<void()> end;
        const char* event;
        Control* after;
    };
    const Case cases[] = {
        { "new edit", [&] { grid.start_inplace_edit(editor, 0, 4); }, "edit-end Grid 0,7 commit", &editor },
        // The row under the pen is selected first, then the edit ends.
        { "pen outside", [&] { tap(row_point(0)); }, "edit-end Grid 0,7 commit", nullptr },
        { "focus lost", [&] { form.set_focus(nullptr); }, "edit-end Grid 0,7 commit", nullptr },
        { "disabled", [&] { grid.set_enabled(false); }, "edit-end Grid 0,7 cancel", nullptr },
    };
    for (const Case& c : cases) {
        grid.set_enabled(true);
        grid.take_focus();
        grid.start_inplace_edit(editor, 0, 7);
        log.clear();
        c.end();
        EXPECT_THAT(log.events, ::testing::Contains(c.event)) << c.name;
        EXPECT_EQ(grid.get_inplace_control(), c.after) << c.name;
    }
}

TEST_F(InplaceEditTest, PenInsideTheControlKeepsTheEdit)
{
    tap({ editor.position().x + 5, editor.position().y + 5 });
    EXPECT_TRUE(log.events.empty());
    EXPECT_EQ(grid.get_inplace_control(), &editor);
}

using ControlGridDeathTest = ControlGridTest;

TEST_F(ControlGridDeathTest, InplaceControlOutsideTheGridEndsTheProgram)
{
    test::ProbeControl stranger { form, u"Stranger", {}, skinner::ControlMode::unskinned };
    EXPECT_EXIT(grid.start_inplace_edit(stranger, 0, 0), ::testing::ExitedWithCode(70),
        "inplace_control->get_container\\(\\) != get_panel_container\\(\\)");
}

TEST_F(ControlGridDeathTest, ColumnsChangedWithoutRefreshEndTheProgramAtPaint)
{
    grid.columns = 2;
    form.invalidate_all();
    EXPECT_EXIT(run(), ::testing::ExitedWithCode(70), "had changed, but no refresh was called");
}

}
