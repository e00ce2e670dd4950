#pragma once

#include "skinner/widgets/trees/ControlTree.h"

#include <memory>

namespace skinner {

// A tree whose root is a node of type NodeT, owned by the tree.
template<typename NodeT>
class ControlTreeGeneric : public ControlTree {
public:
    using ControlTree::ControlTree;

    // The nodes go before the grid's strategy does.
    ~ControlTreeGeneric() override { m_root.reset(); }

    NodeT* get_root() const override { return m_root.get(); }

    // Replaces (and frees) the root; the old rows are reported removed and
    // the new ones inserted, so no selection outlives the rows it named.
    void set_root(std::unique_ptr<NodeT> root)
    {
        const std::int32_t old_rows = get_item_count();
        std::unique_ptr<NodeT> old = std::move(m_root);
        if (old_rows > 0)
            on_items_removed(-1, old_rows);
        old.reset();
        m_root = std::move(root);
        if (get_item_count() > 0)
            on_items_inserted(-1, get_item_count());
        refresh();
    }

private:
    std::unique_ptr<NodeT> m_root;
};

}
