#include "tests/skinner/ListsScreen.h"

#include "skinner/widgets/lists/ControlListStringSelectionStrategySingleRow.h"
#include "skinner/widgets/combos/List.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using skinner::Point;

namespace {

constexpr platform::ColorRef selection_blue = platform::rgb(0, 0, 200);

class ControlListTest : public test::ListsScreen {
protected:
    skinner::Form form { nullptr, lists, u"Lists", &log };
    skinner::ControlListStringSelectionStrategySingleRow strings { form, u"Strings" };

    void SetUp() override
    {
        strings.items = { u"One", u"Two", u"Three", u"Four", u"Five" };
        strings.refresh();
        run();
    }

    Point row_origin(std::int32_t row) const { return { strings.position().x, strings.position().y + row * 20 }; }

    // Whether any pixel of the row between x0 and x1 (relative to the row) is darker than mid grey.
    bool has_ink(std::int32_t row, std::int32_t x0, std::int32_t x1) const
    {
        const Point origin = row_origin(row);
        for (std::int32_t x = x0; x < x1; ++x)
            for (std::int32_t y = 2; y < 18; ++y) {
                const platform::ColorRef c = pixel_at(form, { origin.x + x, origin.y + y });
                if ((c & 0xFF) + (c >> 8 & 0xFF) + (c >> 16 & 0xFF) < 3 * 128)
                    return true;
            }
        return false;
    }
};

TEST_F(ControlListTest, TextStartsAfterTheIndent)
{
    EXPECT_EQ(strings.indent(), 8);
    EXPECT_FALSE(has_ink(0, 0, 8));
    EXPECT_TRUE(has_ink(0, 8, 60));
}

TEST_F(ControlListTest, SelectedRowIsDrawnInTheSelectionLook)
{
    strings.set_selected_row(1);
    run();
    EXPECT_EQ(pixel_at(form, { row_origin(1).x + 2, row_origin(1).y + 1 }), selection_blue);
    EXPECT_NE(pixel_at(form, { row_origin(0).x + 2, row_origin(0).y + 1 }), selection_blue);
}

TEST_F(ControlListTest, ItemsChangedWithoutRefreshPaintAtOnceButKeepTheOldRange)
{
    strings.items.resize(2);
    form.invalidate_all();
    run();
    EXPECT_TRUE(has_ink(1, 8, 60));
    EXPECT_FALSE(has_ink(2, 0, 100));
    strings.items.resize(50, u"More");
    strings.scroll_to(40);
    EXPECT_EQ(strings.get_first_visible_row(), 2);
    strings.refresh();
    strings.scroll_to(40);
    EXPECT_EQ(strings.get_first_visible_row(), 40);
}

TEST_F(ControlListTest, TapChoosesTheRowAndReportsTheClick)
{
    screen->tap(on_screen(form, { row_origin(2).x + 20, row_origin(2).y + 5 }));
    run();
    EXPECT_EQ(strings.get_selected_row(), 2);
    EXPECT_THAT(log.events, ElementsAre("selection Strings", "item Strings 0,2"));
}

// A combo box's side of a drop-down list.
class Source : public skinner::ControlComboBoxGenericInterface {
public:
    std::vector<std::string>* journal = nullptr;
    std::int32_t current = -1;
    std::int32_t count = 4;
    std::vector<std::int32_t> painted;

    void paint_item(std::int32_t row, skinner::Canvas&, Point, skinner::Size, bool, bool) override
    {
        painted.push_back(row);
    }
    std::int32_t get_item_count() const override { return count; }
    std::int32_t get_current() const override { return current; }
    void set_current(std::int32_t index) override
    {
        current = index;
        journal->push_back("source " + std::to_string(index));
    }
};

TEST_F(ControlListTest, DropDownListTellsItsSourceBeforeTheListener)
{
    Source source;
    source.journal = &log.events;
    skinner::List list { form, u"Grid", skinner::ControlMode::named, source };
    run();
    EXPECT_THAT(source.painted, ElementsAre(0, 1, 2, 3));
    list.on_pen_down({ list.position().x + 5, list.position().y + 25 }, 0);
    list.on_pen_up({ list.position().x + 5, list.position().y + 25 }, 0);
    EXPECT_THAT(log.events, ElementsAre("source 1", "selection Grid", "item Grid 0,1"));
    EXPECT_EQ(source.current, 1);
}

}
