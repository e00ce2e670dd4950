#pragma once

#include "os/Finder.h"

namespace skinner {

class ControlTreeFolder;
class ControlTreeFolderNode;

// Appends a folder node to the node it fills for every sub-folder found.
class FinderForTree : public os::Finder {
public:
    FinderForTree(ControlTreeFolderNode& node, ControlTreeFolder& tree);

    bool on_folder(const std::u16string& path) override;

private:
    ControlTreeFolderNode& m_node;
    ControlTreeFolder& m_tree;
};

}
