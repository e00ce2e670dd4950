#include "skinner/widgets/trees/ControlTreeFolderNode.h"

#include "liba/CaseMapping.h"
#include "liba/Path.h"
#include "skinner/core/Alignment.h"
#include "skinner/widgets/trees/ControlTreeFolder.h"
#include "skinner/widgets/trees/FinderForTree.h"
#include "skinner/graphics/Canvas.h"

#include <unordered_map>

namespace skinner {

namespace {

constexpr std::u16string_view device_root = u"/";
constexpr std::u16string_view device_name = u"My Device";

std::u16string name_of(std::u16string_view path)
{
    // A folder given with a trailing separator is named by its last component all the same.
    std::u16string name = liba::get_file_name(liba::remove_trailing_separator(path));
    if (name.empty() || liba::paths_equal(path, device_root))
        return std::u16string(device_name);
    return name;
}

}

ControlTreeFolderNode::ControlTreeFolderNode(ControlTreeFolder& tree, std::u16string path, bool linked)
    : Node(tree)
    , m_path(std::move(path))
    , m_name(m_path.empty() ? std::u16string() : name_of(m_path))
    , m_linked(linked)
{
}

// Folder nodes live only in folder trees.
ControlTreeFolder& ControlTreeFolderNode::folder_tree() const
{
    return static_cast<ControlTreeFolder&>(tree());
}

bool ControlTreeFolderNode::has_children() const
{
    return is_open() ? !children().empty() : true;
}

void ControlTreeFolderNode::set_expanded(bool expanded)
{
    if (expanded) {
        // An open folder keeps what it shows.
        if (is_open())
            return;
        Node::set_expanded(true);
        read_sub_folders();
        folder_tree().refresh();
        return;
    }
    // The rows vanish while the children still count, so the selection
    // below them moves up with them.
    Node::set_expanded(false);
    destroy_children();
    folder_tree().refresh();
}

void ControlTreeFolderNode::read_sub_folders()
{
    FinderForTree finder(*this, folder_tree());
    finder.find(m_path, u"*", u"*", false);
    // Each path lowered once, not once per comparison.
    std::unordered_map<const Node*, std::u16string> keys;
    for (const auto& child : children())
        keys.emplace(child.get(), liba::to_lower(static_cast<const ControlTreeFolderNode&>(*child).get_path()));
    sort_children([&keys](const Node& a, const Node& b) { return keys.at(&a) < keys.at(&b); });
}

void ControlTreeFolderNode::paint(Canvas& canvas, Point position, Size size, bool selected, bool highlighted)
{
    const ControlTreeFolder& tree = folder_tree();
    const ButtonLook& look = tree.get_item_look(selected, highlighted);
    look.picture.draw(canvas, position, size);
    const Picture& icon = liba::paths_equal(m_path, device_root) ? tree.icon_root() : tree.icon_folder();
    const std::int32_t width = tree.icon_width();
    icon.draw(canvas, { position.x + (width - icon.get_size().width) / 2, position.y }, icon.get_size());
    canvas.draw_text(look.font, look.text_color, m_name, { position.x + width, position.y },
        { size.width - width, size.height }, align_left, align_vcenter);
}

}
