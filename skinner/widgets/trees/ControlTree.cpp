#include "skinner/widgets/trees/ControlTree.h"

#include "os/Log.h"

namespace skinner {

ControlTree::ControlTree(Container& container, std::u16string_view id, ControlMode mode)
    : ControlGrid(container, id, mode)
{
    load_properties();
}

ControlTree::~ControlTree() = default;

void ControlTree::load()
{
    ControlGrid::load();
    load_properties();
}

void ControlTree::load_properties()
{
    m_cross = get_property_picture(u"Cross", Picture());
    m_branch = get_property_picture(u"Branch", Picture());
    m_line = get_property_picture(u"Line", Picture());
    m_space = get_property_picture(u"Space", Picture());
    m_opened = get_property_picture(u"Opened", Picture());
    m_closed = get_property_picture(u"Closed", Picture());
    m_branch_width = std::max(get_property_int_scaled(u"BranchWidth", 0), 0);
}

std::int32_t ControlTree::get_item_count() const
{
    const Node* root = get_root();
    return root ? root->count() : 0;
}

ControlTree::Node* ControlTree::node_at(std::int32_t row) const
{
    Node* node = get_root();
    if (!node || row < 0)
        return node;
    std::int32_t r = row;
    while (true) {
        bool descended = false;
        for (const auto& child : node->children()) {
            if (r == 0)
                return child.get();
            if (child->is_expanded() && r <= child->count()) {
                node = child.get();
                r -= 1;
                descended = true;
                break;
            }
            r -= 1 + (child->is_expanded() ? child->count() : 0);
        }
        if (!descended)
            return get_root();
    }
}

std::int32_t ControlTree::get_row_indent(std::int32_t row) const
{
    const Node* node = node_at(row);
    if (!node)
        return 0;
    return (node->depth() + 1) * m_branch_width;
}

void ControlTree::on_row_indent_pressed(const GridCellEvent& event)
{
    Node* node = node_at(event.row);
    // Without zones the pen is never on one.
    if (!node || node == get_root() || m_branch_width <= 0 || !node->has_children())
        return;
    if (event.cell_point.x / m_branch_width == node->depth())
        node->set_expanded(!node->is_expanded());
}

void ControlTree::paint_item(std::int32_t, std::int32_t row, Canvas& canvas, Point position, Size size,
    bool selected, bool highlighted)
{
    Node* node = node_at(row);
    if (!node || node == get_root())
        return;
    const std::int32_t depth = node->depth();
    const std::int32_t indent = (depth + 1) * m_branch_width;
    node->paint(canvas, { position.x + indent, position.y }, { size.width - indent, size.height }, selected,
        highlighted);
    paint_zones(*node, depth, canvas, position, size.height);
}

void ControlTree::paint_zones(const Node& node, std::int32_t depth, Canvas& canvas, Point position,
    std::int32_t height)
{
    if (m_branch_width <= 0)
        return;
    const Size zone { m_branch_width, height };
    const Point own { position.x + depth * m_branch_width, position.y };
    (node.next_sibling() ? m_cross : m_branch).draw(canvas, own, zone);
    if (node.has_children())
        (node.is_expanded() ? m_opened : m_closed).draw(canvas, own, zone);
    std::int32_t level = depth - 1;
    for (const Node* ancestor = node.parent(); ancestor && ancestor->parent(); ancestor = ancestor->parent()) {
        (ancestor->next_sibling() ? m_line : m_space)
            .draw(canvas, { position.x + level * m_branch_width, position.y }, zone);
        --level;
    }
}

// Node

ControlTree::Node::Node(ControlTree& tree)
    : m_tree(&tree)
{
}

ControlTree::Node::~Node()
{
    for (auto& child : m_children)
        child->m_parent = nullptr;
}

void ControlTree::Node::propagate(std::int32_t delta)
{
    Node* node = this;
    node->m_count += delta;
    while (node->m_expanded && node->m_parent) {
        node = node->m_parent;
        node->m_count += delta;
    }
}

bool ControlTree::Node::holds(const Node& node) const
{
    for (const Node* n = &node; n; n = n->m_parent)
        if (n == this)
            return true;
    return false;
}

void ControlTree::Node::set_tree(ControlTree& tree)
{
    m_tree = &tree;
    for (auto& child : m_children)
        child->set_tree(tree);
}

ControlTree::Node& ControlTree::Node::insert(std::size_t index, std::unique_ptr<Node> child)
{
    if (!child || child->m_parent || child->holds(*this))
        os::fatal_error(u"ControlTree::Node::insert", u"the node is attached or would hold itself");
    if (&child->tree() != m_tree)
        child->set_tree(*m_tree);
    Node& added = *child;
    added.m_parent = this;
    const bool last = index >= m_children.size();
    m_children.insert(m_children.begin() + std::ptrdiff_t(std::min(index, m_children.size())), std::move(child));
    propagate(added.rows_taken());
    // A folder read from disk appends one child after another: the last
    // child's row follows from the parent's, without walking the siblings.
    std::int32_t row = -1;
    if (last && (m_expanded || !m_parent)) {
        const std::int32_t parent_row = shown_row();
        if (parent_row >= 0 || this == m_tree->get_root())
            row = parent_row + 1 + m_count - added.rows_taken();
    } else if (!last) {
        row = added.shown_row();
    }
    if (row >= 0)
        m_tree->on_items_inserted(row - 1, added.rows_taken());
    return added;
}

ControlTree::Node& ControlTree::Node::append(std::unique_ptr<Node> child)
{
    return insert(m_children.size(), std::move(child));
}

void ControlTree::Node::move_to(Node& parent, std::size_t index)
{
    if (holds(parent))
        os::fatal_error(u"ControlTree::Node::move_to", u"a node cannot hold itself");
    parent.insert(index, detach());
}

std::unique_ptr<ControlTree::Node> ControlTree::Node::detach()
{
    if (!m_parent)
        return nullptr;
    const std::int32_t row = shown_row();
    Node& parent = *m_parent;
    auto at = std::find_if(parent.m_children.begin(), parent.m_children.end(),
        [this](const std::unique_ptr<Node>& child) { return child.get() == this; });
    std::unique_ptr<Node> self = std::move(*at);
    parent.m_children.erase(at);
    parent.propagate(-rows_taken());
    m_parent = nullptr;
    if (row >= 0)
        m_tree->on_items_removed(row - 1, rows_taken());
    return self;
}

void ControlTree::Node::destroy_children()
{
    while (!m_children.empty())
        m_children.back()->detach();
}

void ControlTree::Node::set_expanded(bool expanded)
{
    if (expanded == m_expanded)
        return;
    const std::int32_t row = shown_row();
    if (m_parent)
        m_parent->propagate(expanded ? m_count : -m_count);
    m_expanded = expanded;
    if (row >= 0 && m_count > 0) {
        if (expanded)
            m_tree->on_items_inserted(row, m_count);
        else
            m_tree->on_items_removed(row, m_count);
    }
    m_tree->refresh();
}

ControlTree::Node* ControlTree::Node::next_sibling() const
{
    if (!m_parent)
        return nullptr;
    const auto& siblings = m_parent->m_children;
    for (std::size_t i = 0; i + 1 < siblings.size(); ++i)
        if (siblings[i].get() == this)
            return siblings[i + 1].get();
    return nullptr;
}

std::int32_t ControlTree::Node::depth() const
{
    std::int32_t depth = -1;
    for (const Node* n = m_parent; n; n = n->m_parent)
        ++depth;
    return depth;
}

std::int32_t ControlTree::Node::row() const
{
    std::int32_t row = -1;
    for (const Node* n = this; n->m_parent; n = n->m_parent) {
        if (n != this && !n->m_expanded)
            return -1;
        row += 1;
        for (const auto& sibling : n->m_parent->m_children) {
            if (sibling.get() == n)
                break;
            row += sibling->rows_taken();
        }
    }
    return row;
}

std::int32_t ControlTree::Node::shown_row() const
{
    const Node* top = this;
    while (top->m_parent)
        top = top->m_parent;
    if (top != m_tree->get_root() || top == this)
        return -1;
    return row();
}

}
