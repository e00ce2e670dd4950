#include "skinner/widgets/lists/GridSelectionStrategyMultiRowCE.h"
#include "skinner/widgets/lists/GridSelectionStrategySingleColumn.h"
#include "skinner/widgets/lists/GridSelectionStrategySingleRow.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace skinner;

// The strategies never look at the painter they are handed.
alignas(std::max_align_t) unsigned char painter_bytes[64];
Control& painter = *reinterpret_cast<Control*>(painter_bytes);

enum class Act { pen_down, pen_move, pen_up, context_down, key, insert, remove };

struct Step {
    Act act;
    std::int32_t a = 0; // row, column, key or position
    std::int32_t b = 0; // count
};

// A strategy over a list of rows x columns that records the grid callbacks
// as short words: "sel", "hl c,r", "show r", "col c".
class Probe {
public:
    virtual ~Probe() = default;
    virtual void start(const std::vector<std::int32_t>& selection) = 0;
    virtual bool apply(const Step& step) = 0;
    // Selected rows (or columns for the column strategy), in order.
    virtual std::vector<std::int32_t> selection() const = 0;
    std::string events;
};

template<typename Strategy>
class Harness : public Strategy, public Probe {
public:
    Harness(std::int32_t rows, std::int32_t columns)
        : m_rows(rows)
        , m_columns(columns)
    {
    }

    std::int32_t get_item_count() const override { return m_rows; }
    std::int32_t get_column_count() const override { return m_columns; }
    void notify_selection_changed() override { add("sel"); }
    void notify_highlight_changed() override
    {
        add("hl " + std::to_string(this->get_highlight_column()) + "," + std::to_string(this->get_highlight_row()));
    }
    void scroll_column_into_view(std::int32_t column) override { add("col " + std::to_string(column)); }
    void ensure_visible(std::int32_t row) override { add("show " + std::to_string(row)); }

    bool apply(const Step& s) override
    {
        std::int32_t column = std::is_base_of_v<GridSelectionStrategySingleColumn, Strategy> ? s.a : 0;
        std::int32_t row = std::is_base_of_v<GridSelectionStrategySingleColumn, Strategy> ? 0 : s.a;
        switch (s.act) {
        case Act::pen_down: this->on_cell_pen_down(column, row, {}, {}, painter); return true;
        case Act::pen_move: this->on_cell_pen_move(column, row, {}, {}, painter); return true;
        case Act::pen_up: this->on_cell_pen_up(column, row, {}, {}, painter); return true;
        case Act::context_down: this->on_cell_context_down(column, row); return true;
        case Act::key: return this->on_key(s.a);
        case Act::insert: this->on_items_inserted(s.a, s.b); m_rows += s.b; return true;
        case Act::remove: this->on_items_removed(s.a, s.b); m_rows -= s.b; return true;
        }
        return false;
    }

    std::vector<std::int32_t> selection() const override
    {
        std::vector<std::int32_t> result;
        bool by_column = std::is_base_of_v<GridSelectionStrategySingleColumn, Strategy>;
        std::int32_t limit = std::max(m_rows, m_columns) + 8;
        for (std::int32_t i = 0; i < limit; ++i) {
            if (by_column ? this->is_selected(i, 0) : this->is_selected(0, i))
                result.push_back(i);
        }
        return result;
    }

    void start(const std::vector<std::int32_t>& selection) override;

private:
    void add(const std::string& word) { events += (events.empty() ? "" : "; ") + word; }

    std::int32_t m_rows;
    std::int32_t m_columns;
};

template<>
void Harness<GridSelectionStrategySingleRow>::start(const std::vector<std::int32_t>& selection)
{
    if (!selection.empty())
        set_selected_row(selection.front());
}

template<>
void Harness<GridSelectionStrategySingleColumn>::start(const std::vector<std::int32_t>& selection)
{
    if (!selection.empty())
        set_selected_column(selection.front());
}

template<>
void Harness<GridSelectionStrategyMultiRowCE>::start(const std::vector<std::int32_t>& selection)
{
    add_rows(selection);
}

enum class Kind { single_row, single_column, multi_row };

struct Case {
    const char* name;
    Kind kind;
    std::int32_t count; // rows, or columns for the column strategy
    std::vector<std::int32_t> start;
    std::vector<Step> steps;
    std::vector<std::int32_t> selected;
    std::string events;
    bool last_result = true;
};

std::unique_ptr<Probe> make(Kind kind, std::int32_t count)
{
    switch (kind) {
    case Kind::single_row: return std::make_unique<Harness<GridSelectionStrategySingleRow>>(count, 1);
    case Kind::single_column: return std::make_unique<Harness<GridSelectionStrategySingleColumn>>(1, count);
    case Kind::multi_row: return std::make_unique<Harness<GridSelectionStrategyMultiRowCE>>(count, 1);
    }
    return nullptr;
}

Step key(KeyCode code) { return { Act::key, code }; }
Step down(std::int32_t at) { return { Act::pen_down, at }; }
Step move(std::int32_t at) { return { Act::pen_move, at }; }
Step up(std::int32_t at) { return { Act::pen_up, at }; }
Step hold(std::int32_t at) { return { Act::context_down, at }; }
Step inserted(std::int32_t at, std::int32_t n) { return { Act::insert, at, n }; }
Step removed(std::int32_t at, std::int32_t n) { return { Act::remove, at, n }; }

const Case cases[] = {
    // Single row: keys.
    { "row down from none", Kind::single_row, 5, {}, { key(key::down) }, { 0 }, "sel; show 0; hl 0,-1; show 0" },
    { "row up at the top", Kind::single_row, 5, { 0 }, { key(key::up) }, { 0 }, "", false },
    { "row up from none", Kind::single_row, 5, {}, { key(key::up) }, { 0 }, "sel; show 0; hl 0,-1; show 0" },
    { "row down at the end", Kind::single_row, 5, { 4 }, { key(key::down) }, { 4 }, "", false },
    { "row page down is one row", Kind::single_row, 50, { 10 }, { key(key::page_down) }, { 11 }, "sel; show 11; hl 0,-1; show 11" },
    { "row page up is one row", Kind::single_row, 50, { 10 }, { key(key::page_up) }, { 9 }, "sel; show 9; hl 0,-1; show 9" },
    { "row home", Kind::single_row, 5, { 3 }, { key(key::home) }, { 0 }, "sel; show 0; hl 0,-1; show 0" },
    { "row end", Kind::single_row, 5, { 1 }, { key(key::end) }, { 4 }, "sel; show 4; hl 0,-1; show 4" },
    { "row end on the last row", Kind::single_row, 5, { 4 }, { key(key::end) }, { 4 }, "hl 0,-1; show 4" },
    { "row other key", Kind::single_row, 5, { 1 }, { key(key::left) }, { 1 }, "", false },
    { "row keys without rows", Kind::single_row, 0, {}, { key(key::down) }, {}, "", false },
    // Single row: pen.
    { "row tap", Kind::single_row, 5, {}, { down(2), up(2) }, { 2 }, "sel; show 2" },
    { "row drag follows the pen", Kind::single_row, 5, { 1 }, { down(1), move(2), move(3) }, { 3 }, "sel; show 2; sel; show 3" },
    { "row tap below the last row", Kind::single_row, 5, { 1 }, { down(5) }, { 1 }, "" },
    { "row tap and hold", Kind::single_row, 5, { 1 }, { hold(4) }, { 4 }, "sel; show 4" },
    // Single row: rows inserted and removed after a position.
    { "row removed over the selection", Kind::single_row, 10, { 4 }, { removed(2, 2) }, {}, "" },
    { "row removed before the selection", Kind::single_row, 10, { 5 }, { removed(2, 2) }, { 3 }, "" },
    { "row removed after the selection", Kind::single_row, 10, { 2 }, { removed(2, 2) }, { 2 }, "" },
    { "row inserted before the selection", Kind::single_row, 10, { 5 }, { inserted(2, 3) }, { 8 }, "" },
    { "row inserted at the selection", Kind::single_row, 10, { 2 }, { inserted(2, 3) }, { 2 }, "" },
    // Single column.
    { "column right from none", Kind::single_column, 4, {}, { key(key::right) }, { 0 }, "sel; col 0" },
    { "column left from none", Kind::single_column, 4, {}, { key(key::left) }, { 0 }, "sel; col 0" },
    { "column left on the first", Kind::single_column, 4, { 0 }, { key(key::left) }, { 0 }, "col 0" },
    { "column right on the last", Kind::single_column, 4, { 3 }, { key(key::right) }, { 3 }, "col 3" },
    { "column right", Kind::single_column, 4, { 1 }, { key(key::right) }, { 2 }, "sel; col 2" },
    { "column end and home", Kind::single_column, 4, { 1 }, { key(key::end), key(key::home) }, { 0 },
        "sel; col 3; sel; col 0" },
    { "column down is not its key", Kind::single_column, 4, { 1 }, { key(key::down) }, { 1 }, "", false },
    { "column keys without columns", Kind::single_column, 0, {}, { key(key::right) }, {}, "", false },
    { "column tap", Kind::single_column, 4, { 1 }, { down(3) }, { 3 }, "sel" },
    { "column tap on the selected one", Kind::single_column, 4, { 3 }, { down(3) }, { 3 }, "" },
    { "column tap past the last", Kind::single_column, 4, { 1 }, { down(4) }, { 1 }, "" },
    { "column rows inserted", Kind::single_column, 4, { 1 }, { inserted(0, 2) }, { 1 }, "" },
    // Multi-row, touch style.
    { "multi drag down then back", Kind::multi_row, 10, {}, { down(2), move(5) }, { 2, 3, 4, 5 }, "sel; sel" },
    { "multi drag back over the anchor", Kind::multi_row, 10, {}, { down(2), move(5), move(1) }, { 1, 2 },
        "sel; sel; sel" },
    { "multi tap replaces", Kind::multi_row, 10, { 1, 2, 3 }, { down(7), up(7) }, { 7 }, "sel" },
    { "multi tap below the last row clears", Kind::multi_row, 10, { 1, 2 }, { down(10) }, {}, "sel" },
    { "multi tap on the only selected row", Kind::multi_row, 10, { 4 }, { down(4) }, { 4 }, "" },
    { "multi drag from below the last row", Kind::multi_row, 10, {}, { down(10), move(7) }, { 7, 8, 9 }, "sel" },
    { "multi hold on a selected row keeps all", Kind::multi_row, 10, { 1, 2, 3 }, { hold(2) }, { 1, 2, 3 }, "" },
    { "multi hold elsewhere", Kind::multi_row, 10, { 1, 2, 3 }, { hold(7) }, { 7 }, "sel" },
    { "multi hold below the last row", Kind::multi_row, 10, { 1, 2, 3 }, { hold(10) }, { 1, 2, 3 }, "" },
    { "multi down", Kind::multi_row, 10, { 1, 2, 3 }, { key(key::down) }, { 4 }, "sel; sel; hl 0,-1; show 4" },
    { "multi up", Kind::multi_row, 10, { 1, 2, 3 }, { key(key::up) }, { 0 }, "sel; sel; hl 0,-1; show 0" },
    { "multi down from none", Kind::multi_row, 10, {}, { key(key::down) }, { 9 }, "sel; hl 0,-1; show 9" },
    { "multi up from none", Kind::multi_row, 10, {}, { key(key::page_up) }, { 0 }, "sel; hl 0,-1; show 0" },
    { "multi down on the last row", Kind::multi_row, 10, { 9 }, { key(key::page_down) }, { 9 },
        "sel; sel; hl 0,-1; show 9" },
    { "multi home is not handled", Kind::multi_row, 10, { 3 }, { key(key::home) }, { 3 }, "", false },
    { "multi keys without rows", Kind::multi_row, 0, {}, { key(key::down) }, {}, "", false },
    { "multi rows inserted", Kind::multi_row, 10, { 1, 2, 5 }, { inserted(2, 2) }, { 1, 2, 7 }, "sel" },
    { "multi rows inserted after all", Kind::multi_row, 10, { 1, 2 }, { inserted(2, 2) }, { 1, 2 }, "" },
    { "multi rows removed", Kind::multi_row, 10, { 1, 3, 4, 8 }, { removed(2, 2) }, { 1, 6 }, "sel" },
    { "multi rows removed after all", Kind::multi_row, 10, { 1, 2 }, { removed(2, 2) }, { 1, 2 }, "" },
};

void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

class GridSelectionStrategyTable : public ::testing::TestWithParam<Case> { };

TEST_P(GridSelectionStrategyTable, GivesSelectionAndCallbacks)
{
    const Case& c = GetParam();
    auto probe = make(c.kind, c.count);
    probe->start(c.start);
    probe->events.clear();
    bool result = true;
    for (const Step& step : c.steps)
        result = probe->apply(step);
    EXPECT_EQ(probe->selection(), c.selected);
    EXPECT_EQ(probe->events, c.events);
    EXPECT_EQ(result, c.last_result);
}

INSTANTIATE_TEST_SUITE_P(Cases, GridSelectionStrategyTable, ::testing::ValuesIn(cases),
    [](const auto& info) {
        std::string name = info.param.name;
        for (char& ch : name) {
            if (!std::isalnum(static_cast<unsigned char>(ch)))
                ch = '_';
        }
        return name;
    });

TEST(GridSelectionStrategy, HighlightNotifiesOnlyOnChange)
{
    Harness<GridSelectionStrategySingleRow> list(5, 2);
    list.set_highlight(1, 3);
    list.set_highlight(1, 3);
    list.set_highlight(0, 3);
    EXPECT_EQ(list.events, "hl 1,3; hl 0,3");
    EXPECT_TRUE(list.is_highlighted(1, 3));
    EXPECT_FALSE(list.is_highlighted(1, 2));
}

TEST(GridSelectionStrategy, CurrentCellOfEachStrategy)
{
    Harness<GridSelectionStrategySingleRow> rows(5, 1);
    rows.set_selected_row(3);
    EXPECT_EQ(rows.get_current_cell(), (GridCell { -1, 3 }));
    Harness<GridSelectionStrategySingleColumn> columns(1, 5);
    columns.set_selected_column(2);
    EXPECT_EQ(columns.get_current_cell(), (GridCell { 2, -1 }));
    Harness<GridSelectionStrategyMultiRowCE> multi(10, 1);
    EXPECT_EQ(multi.get_current_cell(), (GridCell { -1, -1 }));
    std::vector<std::int32_t> picked { 6, 4 };
    multi.add_rows(picked);
    EXPECT_EQ(multi.get_current_cell(), (GridCell { -1, 4 }));
}

TEST(GridSelectionStrategy, MultiRowSetOperationsIgnoreRowsOutsideTheList)
{
    Harness<GridSelectionStrategyMultiRowCE> list(5, 1);
    list.set_row_selected(5, true);
    list.set_row_selected(-1, true);
    EXPECT_EQ(list.events, "");
    list.set_row_selected(4, true);
    list.set_row_selected(4, true);
    list.set_row_selected(4, false);
    EXPECT_EQ(list.events, "sel; sel");
    list.select_range(3, 40);
    EXPECT_EQ(list.selection(), (std::vector<std::int32_t> { 3, 4 }));
    list.unselect_all();
    list.unselect_all();
    EXPECT_EQ(list.events, "sel; sel; sel; sel");
}

}
