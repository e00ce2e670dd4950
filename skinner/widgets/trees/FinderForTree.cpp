#include "skinner/widgets/trees/FinderForTree.h"

#include "os/FileInfo.h"
#include "skinner/widgets/trees/ControlTreeFolder.h"

#include <memory>

namespace skinner {

FinderForTree::FinderForTree(ControlTreeFolderNode& node, ControlTreeFolder& tree)
    : m_node(node)
    , m_tree(tree)
{
}

bool FinderForTree::on_folder(const std::u16string& path)
{
    m_node.append(std::make_unique<ControlTreeFolderNode>(m_tree, path, os::FileInfo(path).is_link()));
    return true;
}

}
