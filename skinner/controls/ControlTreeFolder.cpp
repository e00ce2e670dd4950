#include "skinner/controls/ControlTreeFolder.h"

#include "liba/Path.h"

#include <memory>

namespace skinner {

ControlTreeFolder::ControlTreeFolder(Container& container, std::u16string_view id, ControlMode mode)
    : ControlTreeGeneric(container, id, mode)
{
    load_icons();
    create_root(u"/");
    update_layout();
}

void ControlTreeFolder::load()
{
    ControlTreeGeneric::load();
    load_icons();
}

void ControlTreeFolder::load_icons()
{
    m_icon_folder = get_property_picture(u"IconFolder", Picture());
    m_icon_root = get_property_picture(u"IconRoot", Picture());
    m_icon_width = get_property_int_scaled(u"IconFolderWidth", 0);
}

void ControlTreeFolder::create_root(std::u16string_view path)
{
    // An empty path would read the working folder: it means the device root.
    const std::u16string top_path(path.empty() ? u"/" : path);
    auto root = std::make_unique<ControlTreeFolderNode>(*this, u"");
    auto* top = static_cast<ControlTreeFolderNode*>(
        &root->append(std::make_unique<ControlTreeFolderNode>(*this, top_path)));
    set_root(std::move(root));
    top->set_expanded(true);
}

ControlTreeFolderNode* ControlTreeFolder::top_node() const
{
    const ControlTreeFolderNode* root = get_root();
    if (!root || root->children().empty())
        return nullptr;
    return static_cast<ControlTreeFolderNode*>(root->children().front().get());
}

ControlTreeFolderNode* ControlTreeFolder::find_node(std::u16string_view path)
{
    ControlTreeFolderNode* top = top_node();
    if (!top || path.empty())
        return nullptr;
    if (liba::paths_equal(path, top->get_path()))
        return top;
    // Whole components: "/a/bc" does not lie under "/a/b".
    if (!liba::is_path_under(top->get_path(), path))
        return nullptr;
    const std::u16string parent_path = liba::get_parent_directory(path);
    if (parent_path.empty())
        return nullptr;
    ControlTreeFolderNode* parent = find_node(parent_path);
    if (!parent)
        return nullptr;
    for (const auto& child : parent->children()) {
        auto* folder = static_cast<ControlTreeFolderNode*>(child.get());
        if (liba::paths_equal(folder->get_path(), path)) {
            folder->set_expanded(true);
            return folder;
        }
    }
    return nullptr;
}

}
