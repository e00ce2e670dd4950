#pragma once

#include "skinner/widgets/combos/ControlComboBox.h"
#include "skinner/widgets/combos/ControlComboBoxGenericInterface.h"
#include "skinner/widgets/combos/List.h"

#include <memory>

namespace skinner {

// A combo box that chooses one item of a vector through a drop-down list.
// The owner fills items and calls set_current; a change is reported to the
// parent as on_selection_changed with the combo box as sender, once per
// drop-down at the most.
template<typename Vector>
class ControlComboBoxGenericBase : public ControlComboBox, public ControlComboBoxGenericInterface {
public:
    ControlComboBoxGenericBase(Container& container, std::u16string_view id, ControlMode mode = ControlMode::named)
        : ControlComboBox(container, id, mode)
    {
    }

    ~ControlComboBoxGenericBase() override { m_list.reset(); }

    // A tap on an item chooses it and closes the drop-down.
    bool on_item_click(Control& sender, const GridCellEvent& cell) override
    {
        if (&sender == m_list.get())
            close_dropdown_window();
        return ControlComboBox::on_item_click(sender, cell);
    }

    bool on_selection_changed(Control& sender) override
    {
        if (&sender == m_list.get())
            return true;
        return ControlComboBox::on_selection_changed(sender);
    }

    bool on_dropdown_closed(Control& sender) override
    {
        const bool handled = ControlComboBox::on_dropdown_closed(sender);
        m_list.reset();
        if (m_index_at_open != m_current) {
            m_index_at_open = -1;
            on_selection_changed(*this);
        }
        return handled;
    }

    std::unique_ptr<CBForm> create_dropdown_form(Point position, Size size) override
    {
        std::unique_ptr<CBForm> form = ControlComboBox::create_dropdown_form(position, size);
        m_list.reset();
        m_list = std::make_unique<List>(*form, get_property_string(u"ListKind", u""), ControlMode::kind, *this);
        m_list->take_focus();
        m_list->set_selected_row(m_current);
        m_index_at_open = m_current;
        return form;
    }

    std::int32_t get_item_count() const override { return std::int32_t(items.size()); }
    std::int32_t get_current() const override { return m_current; }

    void set_current(std::int32_t index) override
    {
        if (index == m_current)
            return;
        m_current = index;
        if (m_list)
            m_list->set_selected_row(index);
        else
            on_selection_changed(*this);
    }

    Vector items;

protected:
    // The drop-down list while the drop-down is open, else null.
    List* list() const { return m_list.get(); }
    bool current_is_valid() const { return m_current >= 0 && std::size_t(m_current) < items.size(); }

private:
    std::unique_ptr<List> m_list;
    std::int32_t m_current = -1;
    std::int32_t m_index_at_open = -1;
};

}
