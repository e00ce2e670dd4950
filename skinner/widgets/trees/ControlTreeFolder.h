#pragma once

#include "skinner/widgets/trees/ControlTreeFolderNode.h"
#include "skinner/widgets/trees/ControlTreeGeneric.h"

#include <string>
#include <string_view>

namespace skinner {

// A tree over the device's folders. Its one visible top node is a folder
// (the device root "My Device" unless told otherwise); a folder's
// sub-folders are read when it is expanded, sorted regardless of case.
class ControlTreeFolder : public ControlTreeGeneric<ControlTreeFolderNode> {
public:
    ControlTreeFolder(Container& container, std::u16string_view id, ControlMode mode = ControlMode::named);

    // A new root whose one child is the folder at the path, expanded.
    void create_root(std::u16string_view path);
    // The node of a folder at or below the top node, each folder on the way
    // expanded so that it shows; null when it is not in the tree.
    ControlTreeFolderNode* find_node(std::u16string_view path);
    // The visible top node, or null.
    ControlTreeFolderNode* top_node() const;

    void load() override;

    const Picture& icon_folder() const { return m_icon_folder; }
    const Picture& icon_root() const { return m_icon_root; }
    std::int32_t icon_width() const { return m_icon_width; }

private:
    void load_icons();

    Picture m_icon_folder;
    Picture m_icon_root;
    std::int32_t m_icon_width = 0;
};

}
