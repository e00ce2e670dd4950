#include "skinner/widgets/combos/List.h"

namespace skinner {

List::List(Container& container, std::u16string_view kind, ControlMode mode, ControlComboBoxGenericInterface& source)
    : ControlGrid(container, kind, mode)
    , m_source(source)
{
    m_indent = get_property_int_scaled(u"Indent", 0);
    update_layout();
}

void List::load()
{
    ControlGrid::load();
    m_indent = get_property_int_scaled(u"Indent", 0);
}

void List::paint_item(std::int32_t, std::int32_t row, Canvas& canvas, Point position, Size size, bool selected,
    bool highlighted)
{
    m_source.paint_item(row, canvas, position, size, selected, highlighted);
}

void List::notify_selection_changed()
{
    m_source.set_current(get_selected_row());
    ControlGrid::notify_selection_changed();
}

}
