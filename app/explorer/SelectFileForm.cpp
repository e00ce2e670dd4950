#include "app/explorer/SelectFileForm.h"

#include "liba/Path.h"
#include "model/FileHelpers.h"
#include "skinner/widgets/combos/List.h"
#include "skinner/graphics/Canvas.h"
#include "skinner/skin/Properties.h"

void SelectFileForm::TypeCombo::paint_item(std::int32_t row, skinner::Canvas& canvas, skinner::Point position,
    skinner::Size size, bool selected, bool highlighted)
{
    const skinner::List* drop_down = list();
    if (!drop_down)
        return;
    const skinner::ButtonLook& look = drop_down->get_item_look(selected, highlighted);
    look.picture.draw(canvas, position, size);
    if (row >= 0 && std::size_t(row) < items.size())
        canvas.draw_text(look.font, look.text_color, items[std::size_t(row)].label, position, size, 0, 1);
}

bool SelectFileForm::TypeCombo::on_selection_changed(skinner::Control& sender)
{
    face().set_text(current_is_valid() ? std::u16string_view(items[std::size_t(get_current())].label)
                                       : std::u16string_view());
    return ControlComboBoxGenericReadonly::on_selection_changed(sender);
}

SelectFileForm::SelectFileForm(skinner::Form* parent, skinner::Properties& properties)
    : Form(parent, properties, u"SelectFiles")
    , m_tree(*this, u"cbTree")
    , m_types(*this, u"cbTypes")
    , m_files(*this, u"lstFiles")
{
    m_tree.set_path(u"/");
    m_types.items = make_open_file_filters();
    m_types.set_current(0);
    set_folder(u"/");
    choose_type(0);
}

SelectFileForm::~SelectFileForm() = default;

bool SelectFileForm::run()
{
    do_modal();
    return m_result;
}

void SelectFileForm::set_folder(const std::u16string& folder)
{
    m_folder = folder;
    m_tree.path_frame().set_text(folder);
    m_files.set_folder(folder);
}

void SelectFileForm::choose_type(std::int32_t index)
{
    if (index < 0 || std::size_t(index) >= m_types.items.size())
        return;
    m_files.clear_types();
    for (const std::u16string& extension : m_types.items[std::size_t(index)].extensions)
        m_files.add_type(extension);
    m_files.set_folder(m_folder);
}

bool SelectFileForm::on_click(skinner::Control& sender)
{
    if (sender.id() == u"btnOk" || sender.id() == u"btnCancel") {
        m_result = sender.id() == u"btnOk";
        close();
        return true;
    }
    if (sender.id() == u"btnUp") {
        const std::u16string parent = liba::remove_trailing_separator(liba::get_parent_directory(m_folder));
        if (!parent.empty() && parent != m_folder)
            set_folder(parent);
        return true;
    }
    return Form::on_click(sender);
}

bool SelectFileForm::on_selection_changed(skinner::Control& sender)
{
    // The combo box passes its tree's choice on with the tree as sender.
    if (&sender == &m_tree || (m_tree.tree() && &sender == m_tree.tree())) {
        const std::u16string chosen = m_tree.get_path();
        set_folder(chosen.empty() ? std::u16string(u"/") : chosen);
        return true;
    }
    return Form::on_selection_changed(sender);
}

bool SelectFileForm::on_dropdown_closed(skinner::Control& sender)
{
    if (&sender == &m_types) {
        choose_type(m_types.get_current());
        return true;
    }
    return Form::on_dropdown_closed(sender);
}
