#pragma once

#include "skinner/widgets/lists/ControlGrid.h"
#include "skinner/skin/Picture.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

namespace skinner {

// A tree of nodes shown as the rows of a one-column grid: every node whose
// ancestors are all expanded is a row. The root is never shown; its
// children are the rows at depth 0. No rows are stored: every node keeps the
// number of visible rows below it, and rows are found by walking down from
// the root with those counts. Each row's leading zone shows the tree lines
// and the expand box; the node paints the rest. A concrete tree holds its
// root (ControlTreeGeneric) and mixes in a selection strategy, which hears of
// every row that appears or disappears.
class ControlTree : public ControlGrid {
public:
    class Node;

    ControlTree(Container& container, std::u16string_view id, ControlMode mode = ControlMode::named);
    ~ControlTree() override;

    // Null while the tree has none.
    virtual Node* get_root() const = 0;

    // The node shown at the row; the root when no row is there.
    Node* node_at(std::int32_t row) const;
    // Width of one level's zone in the leading part of a row.
    std::int32_t branch_width() const { return m_branch_width; }

    std::int32_t get_item_count() const override;
    std::int32_t get_column_count() const override { return 1; }
    // (depth + 1) levels of zones.
    std::int32_t get_row_indent(std::int32_t row) const override;
    // A press on the node's own zone toggles a node with children.
    void on_row_indent_pressed(const GridCellEvent& event) override;
    void paint_item(std::int32_t column, std::int32_t row, Canvas& canvas, Point position, Size size, bool selected,
        bool highlighted) override;
    void load() override;

private:
    void load_properties();
    void paint_zones(const Node& node, std::int32_t depth, Canvas& canvas, Point position, std::int32_t height);

    Picture m_cross;
    Picture m_branch;
    Picture m_line;
    Picture m_space;
    Picture m_opened;
    Picture m_closed;
    std::int32_t m_branch_width = 0;
};

// One node: owns its children, in display order. Counts stay exact after
// every insert, detach and expand or collapse, whether or not the node
// itself is expanded.
class ControlTree::Node {
public:
    explicit Node(ControlTree& tree);
    // Frees the subtree without telling the tree: only a node no parent
    // holds is destroyed (detach first), or the whole tree goes.
    virtual ~Node();
    Node(const Node&) = delete;
    Node& operator=(const Node&) = delete;

    // Expands or collapses; the rows below appear or vanish.
    virtual void set_expanded(bool expanded);
    // Draws the row's content part.
    virtual void paint(Canvas& /*canvas*/, Point /*position*/, Size /*size*/, bool /*selected*/,
        bool /*highlighted*/)
    {
    }
    // Whether the row shows an expand box.
    virtual bool has_children() const { return !m_children.empty(); }

    // Takes a node that no parent holds and puts it at the index (past the
    // end: last). A node cannot hold itself or an ancestor.
    Node& insert(std::size_t index, std::unique_ptr<Node> child);
    Node& append(std::unique_ptr<Node> child);
    // Moves this node under another parent, detaching it from its own first.
    void move_to(Node& parent, std::size_t index);
    // Takes the node out of its parent; the caller owns it then.
    std::unique_ptr<Node> detach();
    // Detaches and frees every child.
    void destroy_children();

    ControlTree& tree() const { return *m_tree; }
    Node* parent() const { return m_parent; }
    const std::vector<std::unique_ptr<Node>>& children() const { return m_children; }
    bool is_expanded() const { return m_expanded; }
    // Expanded, or the root (which is always open).
    bool is_open() const { return m_expanded || !m_parent; }
    // Visible rows below the node, as if it were expanded.
    std::int32_t count() const { return m_count; }
    // The child after this one in the parent's list; null for the last and the root.
    Node* next_sibling() const;
    // 0 for the root's children, -1 for the root.
    std::int32_t depth() const;
    // The row number, -1 when an ancestor below the root is collapsed.
    std::int32_t row() const;

protected:
    // Reorders the children; their rows are new, so the caller repaints.
    template<typename Less>
    void sort_children(Less less)
    {
        std::stable_sort(m_children.begin(), m_children.end(),
            [&](const std::unique_ptr<Node>& a, const std::unique_ptr<Node>& b) { return less(*a, *b); });
    }

private:
    // The rows this node and its visible subtree take.
    std::int32_t rows_taken() const { return 1 + (m_expanded ? m_count : 0); }
    // Adds delta here and to each ancestor the rows are visible in.
    void propagate(std::int32_t delta);
    // The row when the node is shown by its tree now, else -1.
    std::int32_t shown_row() const;
    bool holds(const Node& node) const;
    void set_tree(ControlTree& tree);

    ControlTree* m_tree;
    std::vector<std::unique_ptr<Node>> m_children;
    bool m_expanded = false;
    std::int32_t m_count = 0;
    Node* m_parent = nullptr;
};

}
