#include "app/explorer/SelectFolderForm.h"

#include "liba/Path.h"
#include "skinner/skin/Properties.h"

SelectFolderForm::SelectFolderForm(skinner::Form* parent, skinner::Properties& properties)
    : Form(parent, properties, u"SelectFolder")
    , m_name(*this, u"frmName")
    , m_folders(*this, u"treeFolders")
{
    m_folders.add_type(ControlListFiles::folder_type);
    m_folders.set_sort_mode(1);
    show_folder(u"/");
}

SelectFolderForm::~SelectFolderForm() = default;

bool SelectFolderForm::run()
{
    do_modal();
    return m_result;
}

void SelectFolderForm::show_folder(const std::u16string& folder)
{
    m_shown = folder;
    m_folders.set_folder(folder);
    show_name(folder);
}

void SelectFolderForm::show_name(const std::u16string& folder)
{
    if (folder == u"/")
        m_name.set_text(properties().translate(u"MyDevice"));
    else
        m_name.set_text_with_values(u"%src%", { { u"%src%", folder } });
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

bool SelectFolderForm::on_item_click(skinner::Control& sender, const skinner::GridCellEvent& event)
{
    if (&sender != &m_folders)
        return Form::on_item_click(sender, event);
    if ((event.flags & 0xFF) == 1 && event.row >= 0 && event.row < m_folders.get_item_count())
        show_folder(std::u16string(m_folders.item(event.row).path));
    return true;
}

bool SelectFolderForm::on_selection_changed(skinner::Control& sender)
{
    if (&sender != &m_folders)
        return Form::on_selection_changed(sender);
    const std::u16string chosen = get_folder();
    show_name(chosen.empty() ? m_shown : chosen);
    return true;
}

bool SelectFolderForm::on_keydown(skinner::KeyCode key)
{
    if (key == skinner::key::back) {
        const std::u16string parent = liba::remove_trailing_separator(liba::get_parent_directory(m_shown));
        if (!parent.empty() && parent != m_shown)
            show_folder(parent);
        return true;
    }
    return Form::on_keydown(key);
}
