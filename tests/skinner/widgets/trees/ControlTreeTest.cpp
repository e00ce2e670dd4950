#include "tests/skinner/TreesScreen.h"

#include "skinner/widgets/trees/ControlTreeGeneric.h"
#include "skinner/widgets/lists/GridSelectionStrategySingleRow.h"
#include "tests/support/Screenshot.h"
#include "tests/skinner/EditionOnly.h"

#include <gmock/gmock.h>
#include <functional>

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using skinner::ControlTree;
using skinner::Point;

namespace {

constexpr std::int32_t row_height = 16;
constexpr std::int32_t branch = 12;

// A node that shows its label.
class LabelNode : public ControlTree::Node {
public:
    LabelNode(ControlTree& tree, std::u16string label)
        : Node(tree)
        , label(std::move(label))
    {
    }

    void paint(skinner::Canvas& canvas, Point position, skinner::Size size, bool selected, bool highlighted) override
    {
        const skinner::ButtonLook& look = tree().get_item_look(selected, highlighted);
        look.picture.draw(canvas, position, size);
        canvas.draw_text(look.font, look.text_color, label, position, size, 0, 1);
    }

    std::u16string label;
};

// A tree of labels with one selected row; it writes down the rows it is told of.
class LabelTree : public skinner::ControlTreeGeneric<LabelNode>, public skinner::GridSelectionStrategySingleRow {
public:
    LabelTree(skinner::Container& container, std::u16string_view id)
        : ControlTreeGeneric(container, id)
    {
        set_root(std::make_unique<LabelNode>(*this, u""));
    }

    void on_items_inserted(std::int32_t position, std::int32_t count) override
    {
        notices.push_back("+" + std::to_string(position) + "," + std::to_string(count));
        GridSelectionStrategySingleRow::on_items_inserted(position, count);
    }
    void on_items_removed(std::int32_t position, std::int32_t count) override
    {
        notices.push_back("-" + std::to_string(position) + "," + std::to_string(count));
        GridSelectionStrategySingleRow::on_items_removed(position, count);
    }

    LabelNode& add(ControlTree::Node& parent, std::u16string label)
    {
        return static_cast<LabelNode&>(parent.append(std::make_unique<LabelNode>(*this, std::move(label))));
    }

    // The labels of the rows, top to bottom.
    std::vector<std::string> rows() const
    {
        std::vector<std::string> out;
        for (std::int32_t row = 0; row < get_item_count(); ++row)
            out.push_back(test::narrow(static_cast<LabelNode*>(node_at(row))->label));
        return out;
    }

    std::vector<std::string> notices;
};

// A root with three children, the second expanded with two of its own.
struct Nodes {
    LabelNode& root;
    LabelNode& one;
    LabelNode& two;
    LabelNode& two_a;
    LabelNode& two_b;
    LabelNode& three;
};

Nodes build(LabelTree& tree)
{
    tree.set_root(std::make_unique<LabelNode>(tree, u""));
    LabelNode& root = *tree.get_root();
    LabelNode& one = tree.add(root, u"1");
    LabelNode& two = tree.add(root, u"2");
    Nodes nodes { root, one, two, tree.add(two, u"2a"), tree.add(two, u"2b"), tree.add(root, u"3") };
    two.set_expanded(true);
    tree.notices.clear();
    return nodes;
}

class ControlTreeTest : public test::TreesScreen {
protected:
    skinner::Form form { nullptr, trees, u"Trees", &log };
    LabelTree tree { form, u"Tree" };
    Nodes nodes = build(tree);
    LabelNode& root = nodes.root;
    LabelNode& one = nodes.one;
    LabelNode& two = nodes.two;
    LabelNode& two_a = nodes.two_a;
    LabelNode& two_b = nodes.two_b;
    LabelNode& three = nodes.three;

    void SetUp() override
    {
        form.set_active(true);
        run();
        tree.notices.clear();
        log.clear();
    }

    void key(skinner::KeyCode code)
    {
        form.on_keydown(code);
        form.on_keyup(code);
    }

    // A point of a row, x pixels from the row's left edge.
    platform::Point row_point(std::int32_t row, std::int32_t x) const
    {
        return on_screen(form, { tree.position().x + x, tree.position().y + row * row_height + row_height / 2 });
    }
};

TEST_F(ControlTreeTest, RowsAreTheNodesUnderExpandedAncestors)
{
    EXPECT_THAT(tree.rows(), ElementsAre("1", "2", "2a", "2b", "3"));
    EXPECT_EQ(root.count(), 5);
    EXPECT_EQ(tree.get_item_count(), 5);
    EXPECT_EQ(two_b.row(), 3);
    EXPECT_EQ(three.row(), 4);
    EXPECT_EQ(two_a.depth(), 1);
    EXPECT_EQ(tree.get_row_indent(2), 2 * branch);
    // Past the end: the root.
    EXPECT_EQ(tree.node_at(5), &root);
    EXPECT_EQ(tree.node_at(500), &root);
    EXPECT_EQ(two.next_sibling(), &three);
    EXPECT_EQ(three.next_sibling(), nullptr);
    EXPECT_EQ(root.next_sibling(), nullptr);

    two.set_expanded(false);
    EXPECT_THAT(tree.rows(), ElementsAre("1", "2", "3"));
    EXPECT_EQ(two.count(), 2);
    EXPECT_EQ(two_a.row(), -1);
}

TEST_F(ControlTreeTest, CountsStayExactUnderACollapsedParent)
{
    LabelNode& deep = tree.add(two_a, u"2a-i");
    tree.add(deep, u"2a-i-x");
    two_a.set_expanded(true);
    EXPECT_EQ(root.count(), 6);
    two.set_expanded(false);
    tree.notices.clear();

    // Hidden rows change counts but nobody is told of rows.
    deep.set_expanded(true);
    two_a.set_expanded(false);
    EXPECT_THAT(tree.notices, IsEmpty());
    EXPECT_EQ(two_a.count(), 2);
    EXPECT_EQ(two.count(), 2);
    EXPECT_EQ(root.count(), 3);

    two.set_expanded(true);
    two_a.set_expanded(true);
    EXPECT_THAT(tree.rows(), ElementsAre("1", "2", "2a", "2a-i", "2a-i-x", "2b", "3"));
    EXPECT_EQ(root.count(), 7);
}

TEST_F(ControlTreeTest, SelectionFollowsRowsThatAppearAndVanish)
{
    struct Case {
        const char* what;
        std::function<void(LabelTree&, Nodes&)> change;
        std::int32_t selected_before;
        std::int32_t selected_after;
        std::vector<std::string> notices;
    };
    const Case cases[] = {
        { "collapse above", [](LabelTree&, Nodes& n) { n.two.set_expanded(false); }, 4, 2, { "-1,2" } },
        { "collapse around", [](LabelTree&, Nodes& n) { n.two.set_expanded(false); }, 3, -1, { "-1,2" } },
        { "expand again", [](LabelTree&, Nodes& n) { n.two.set_expanded(false); n.two.set_expanded(true); }, 4, 4,
            { "-1,2", "+1,2" } },
        { "insert under a collapsed node",
            [](LabelTree& t, Nodes& n) { n.one.insert(0, std::make_unique<LabelNode>(t, u"new")); }, 4, 4, {} },
        { "append to an expanded node", [](LabelTree& t, Nodes& n) { t.add(n.two, u"2c"); }, 4, 5, { "+3,1" } },
        { "append to the root", [](LabelTree& t, Nodes& n) { t.add(n.root, u"4"); }, 4, 4, { "+4,1" } },
        { "append under a hidden node", [](LabelTree& t, Nodes& n) { t.add(n.two_a, u"2a-i"); }, 4, 4, {} },
        { "insert first", [](LabelTree& t, Nodes& n) { n.root.insert(0, std::make_unique<LabelNode>(t, u"0")); }, 0,
            1, { "+-1,1" } },
        { "detach a subtree above", [](LabelTree&, Nodes& n) { n.two.detach(); }, 4, 1, { "-0,3" } },
        { "destroy children", [](LabelTree&, Nodes& n) { n.two.destroy_children(); }, 4, 2, { "-2,1", "-1,1" } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Nodes fresh = build(tree);
        tree.set_selected_row(c.selected_before);
        tree.notices.clear();
        c.change(tree, fresh);
        EXPECT_EQ(tree.get_selected_row(), c.selected_after);
        EXPECT_EQ(tree.notices, c.notices);
        EXPECT_EQ(fresh.root.count(), std::int32_t(tree.rows().size()));
    }
}

TEST_F(ControlTreeTest, MovingAnAttachedNodeKeepsBothPlacesExact)
{
    tree.add(two_b, u"2b-i");
    two_b.move_to(one, 0);
    EXPECT_EQ(two.count(), 1);
    EXPECT_EQ(one.count(), 1);
    EXPECT_EQ(two_b.parent(), &one);
    EXPECT_THAT(tree.rows(), ElementsAre("1", "2", "2a", "3"));
    one.set_expanded(true);
    two_b.set_expanded(true);
    EXPECT_THAT(tree.rows(), ElementsAre("1", "2b", "2b-i", "2", "2a", "3"));
    EXPECT_EQ(root.count(), 6);

    // From another tree: it then belongs to this one.
    skinner::Form other_form { nullptr, trees, u"Trees", &log };
    LabelTree other { other_form, u"Tree" };
    LabelNode& stranger = other.add(*other.get_root(), u"x");
    other.add(stranger, u"x-i");
    stranger.set_expanded(true);
    stranger.move_to(three, 0);
    EXPECT_EQ(other.get_item_count(), 0);
    EXPECT_EQ(&stranger.tree(), &tree);
    EXPECT_EQ(&stranger.children().front()->tree(), &tree);
    EXPECT_EQ(three.count(), 2);
}

TEST_F(ControlTreeTest, ANodeCannotHoldItsOwnAncestor)
{
    EXPECT_EXIT(two.move_to(two_a, 0), ::testing::ExitedWithCode(70), "cannot hold itself");
    EXPECT_EXIT(two.move_to(two, 0), ::testing::ExitedWithCode(70), "cannot hold itself");
}

TEST_F(ControlTreeTest, PenOnTheOwnZoneTogglesAndElsewhereSelects)
{
    struct Case {
        const char* what;
        std::int32_t row;
        std::int32_t x;
        std::vector<std::string> rows;
        std::int32_t selected;
    };
    const Case cases[] = {
        // "2" is at depth 0: its zone is the first 12 pixels.
        { "own zone of an expanded node", 1, 5, { "1", "2", "3" }, -1 },
        { "own zone again", 1, 11, { "1", "2", "2a", "2b", "3" }, -1 },
        // "2a" is at depth 1: the first zone is its parent's.
        { "ancestor's zone", 2, 5, { "1", "2", "2a", "2b", "3" }, -1 },
        { "own zone of a leaf", 2, 17, { "1", "2", "2a", "2b", "3" }, -1 },
        { "content", 2, 40, { "1", "2", "2a", "2b", "3" }, 2 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        screen->tap(row_point(c.row, c.x));
        run();
        EXPECT_EQ(tree.rows(), c.rows);
        EXPECT_EQ(tree.get_selected_row(), c.selected);
    }
}

TEST_F(ControlTreeTest, WithoutBranchWidthThereAreNoZones)
{
    LabelTree flat { form, u"Flat" };
    Nodes n = build(flat);
    run();
    EXPECT_EQ(flat.branch_width(), 0);
    EXPECT_EQ(flat.get_row_indent(2), 0);
    // A tap at the very left is on the content.
    screen->tap(on_screen(form, { flat.position().x, flat.position().y + row_height + 4 }));
    run();
    EXPECT_EQ(flat.get_selected_row(), 1);
    EXPECT_TRUE(n.two.is_expanded());
}

TEST_F(ControlTreeTest, KeysMoveTheSelectionAndScrollItIntoView)
{
    for (int i = 0; i < 12; ++i)
        tree.add(two_b, u"deep " + std::u16string(1, char16_t(u'a' + i)));
    two_b.set_expanded(true);
    EXPECT_EQ(tree.get_item_count(), 17);
    tree.take_focus();
    for (int i = 0; i < 15; ++i)
        key(skinner::key::down);
    EXPECT_EQ(tree.get_selected_row(), 14);
    // Ten rows fit: the selected one is the last visible.
    EXPECT_EQ(tree.get_first_visible_row(), 5);
    key(skinner::key::home);
    EXPECT_EQ(tree.get_first_visible_row(), 0);
    // Collapsing shrinks the range at once.
    two.set_expanded(false);
    tree.scroll_to(10);
    EXPECT_EQ(tree.get_first_visible_row(), 0);
}

TEST_F(ControlTreeTest, LinesAndBoxesShowTheStructure)
{
    ORVANTA_POCKET_PC_ONLY();
    tree.add(one, u"1a");
    tree.add(two_a, u"2a-i");
    two_a.set_expanded(true);
    tree.set_selected_row(3);
    run();
    EXPECT_TRUE(test::matches_screenshot(screen->shown(), "tree"));
}

}
