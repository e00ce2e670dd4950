#include "skinner/widgets/combos/ControlComboBoxFolderTree.h"

namespace skinner {

ControlComboBoxFolderTree::ControlComboBoxFolderTree(Container& container, std::u16string_view id, ControlMode mode)
    : ControlComboBox(container, id, mode)
    , m_frame(*get_container(), get_property_string(u"EditKind", u""), ControlMode::kind)
{
    update_layout();
}

// The tree lives in the drop-down form, which goes after it.
ControlComboBoxFolderTree::~ControlComboBoxFolderTree()
{
    m_tree.reset();
}

void ControlComboBoxFolderTree::set_path(std::u16string_view path)
{
    m_root_path = path;
    m_frame.set_text(path);
}

std::unique_ptr<ControlComboBox::CBForm> ControlComboBoxFolderTree::create_dropdown_form(Point position, Size size)
{
    std::unique_ptr<CBForm> form = ControlComboBox::create_dropdown_form(position, size);
    m_tree.reset();
    m_tree = std::make_unique<ControlTreeFolderSelectionStrategySingleRow>(
        *form, get_property_string(u"TreeKind", u""), ControlMode::kind);
    m_tree->take_focus();
    m_tree->create_root(m_root_path);
    if (ControlTreeFolderNode* chosen = m_tree->find_node(m_frame.text()))
        m_tree->select_node(chosen);
    return form;
}

bool ControlComboBoxFolderTree::on_selection_changed(Control& sender)
{
    if (m_tree && &sender == m_tree.get()) {
        const std::int32_t row = m_tree->get_selected_row();
        const ControlTree::Node* node = row >= 0 ? m_tree->node_at(row) : nullptr;
        m_frame.set_text(node && node != m_tree->get_root()
                ? static_cast<const ControlTreeFolderNode*>(node)->get_path()
                : std::u16string());
    }
    return ControlComboBox::on_selection_changed(sender);
}

bool ControlComboBoxFolderTree::on_dropdown_closed(Control& sender)
{
    const bool handled = ControlComboBox::on_dropdown_closed(sender);
    m_tree.reset();
    return handled;
}

}
