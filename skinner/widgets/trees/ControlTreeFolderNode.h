#pragma once

#include "skinner/widgets/trees/ControlTree.h"

#include <string>

namespace skinner {

class ControlTreeFolder;

// A folder of the file system as a tree node. Its sub-folders are read when
// it is expanded and forgotten when it is collapsed, so the tree shows the
// disk as it is now. A linked folder opens like any other: one level per
// expansion, so a link to a folder above it only repeats what the user opens.
class ControlTreeFolderNode : public ControlTree::Node {
public:
    // The invisible root has an empty path.
    ControlTreeFolderNode(ControlTreeFolder& tree, std::u16string path, bool linked = false);

    void set_expanded(bool expanded) override;
    void paint(Canvas& canvas, Point position, Size size, bool selected, bool highlighted) override;
    // A folder not read yet may have sub-folders.
    bool has_children() const override;

    const std::u16string& get_path() const { return m_path; }
    // The last component of the path; "My Device" for the device root.
    const std::u16string& name() const { return m_name; }
    bool is_linked() const { return m_linked; }
    ControlTreeFolder& folder_tree() const;

private:
    void read_sub_folders();

    std::u16string m_path;
    std::u16string m_name;
    bool m_linked;
};

}
