#include "skinner/widgets/trees/ControlTreeFolder.h"

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
    ControlTreeFolderNode* node = top_node();
    if (!node || path.empty())
        return nullptr;
    if (liba::paths_equal(path, node->get_path()))
        return node;
    // Whole components: "/a/bc" does not lie under "/a/b".
    if (!liba::is_path_under(node->get_path(), path))
        return nullptr;
    // Down one component at a time, so that no path, however long, runs deep.
    const std::u16string full = liba::normalize_path(path);
    const std::u16string top = liba::normalize_path(node->get_path());
    std::size_t start = top.size();
    while (start < full.size()) {
        std::size_t end = full.find(liba::path_separator, start);
        if (end == std::u16string::npos)
            end = full.size();
        if (end > start) {
            const std::u16string wanted = liba::join_path(node->get_path(), full.substr(start, end - start));
            ControlTreeFolderNode* next = nullptr;
            for (const auto& child : node->children()) {
                auto* folder = static_cast<ControlTreeFolderNode*>(child.get());
                if (liba::paths_equal(folder->get_path(), wanted)) {
                    next = folder;
                    break;
                }
            }
            if (!next)
                return nullptr;
            next->set_expanded(true);
            node = next;
        }
        start = end + 1;
    }
    return node;
}

}
