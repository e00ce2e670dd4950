#include "app/explorer/SelectFolderForm.h"

SelectFolderForm::SelectFolderForm(skinner::Form* parent, skinner::Properties& properties)
    : Form(parent, properties, u"SelectFolder")
    , m_name(*this, u"frmName")
    , m_tree(*this, u"treeFolders")
{
    m_tree.create_root(u"/");
    m_name.set_text(u"/");
}

SelectFolderForm::~SelectFolderForm() = default;

bool SelectFolderForm::run()
{
    do_modal();
    return m_result;
}

std::u16string SelectFolderForm::get_folder() const
{
    const std::int32_t row = m_tree.get_selected_row();
    const skinner::ControlTree::Node* node = row >= 0 ? m_tree.node_at(row) : nullptr;
    if (!node || node == m_tree.get_root())
        return {};
    return static_cast<const skinner::ControlTreeFolderNode*>(node)->get_path();
}

bool SelectFolderForm::on_click(skinner::Control& sender)
{
    if (sender.id() == u"btnOk" || sender.id() == u"btnCancel") {
        m_result = sender.id() == u"btnOk";
        close();
        return true;
    }
    return Form::on_click(sender);
}

bool SelectFolderForm::on_selection_changed(skinner::Control& sender)
{
    if (&sender != &m_tree)
        return Form::on_selection_changed(sender);
    m_name.set_text(get_folder());
    return true;
}
