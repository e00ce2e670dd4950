#pragma once

#include "skinner/widgets/buttons/ControlButton.h"
#include "skinner/widgets/panels/ControlPanel.h"
#include "skinner/widgets/combos/FormCombo.h"

#include <memory>
#include <string>

namespace skinner {

// The base of every combo box: a face (supplied by the derived class) and a
// drop-down button at the right edge; the button opens a drop-down form
// under or above the box, which runs its own loop until it closes.
class ControlComboBox : public ControlPanel {
public:
    class CBForm;

    ControlComboBox(Container& container, std::u16string_view id, ControlMode mode = ControlMode::named);
    ~ControlComboBox() override;

    // The button's click opens or closes the drop-down.
    bool on_click(Control& sender) override;
    void on_focus_gained() override;
    // Enter that no part takes clicks the button.
    bool on_keydown(KeyCode key) override;
    void set_rect(Point position, Size size) override;
    void load() override;

    // The face, or null.
    virtual Control* get_edit_part() = 0;
    virtual std::int32_t combo_reserved_1() { return 0; }
    // A derived class adds its chooser to the form it returns.
    virtual std::unique_ptr<CBForm> create_dropdown_form(Point position, Size size);
    virtual std::int32_t combo_reserved_2() { return 0; }
    virtual std::int32_t combo_reserved_3() { return 0; }
    virtual std::int32_t combo_reserved_4() { return 0; }
    virtual std::int32_t combo_reserved_5() { return 0; }

    // Runs the drop-down's loop; returns when it has closed.
    void open_dropdown_window();
    void close_dropdown_window();

    CBForm* dropdown() const { return m_dropdown.get(); }
    ControlButton& button() { return m_button; }
    std::int32_t button_width() const { return m_button_width; }

private:
    void load_properties();

    std::int32_t m_button_width = 0;
    std::unique_ptr<CBForm> m_dropdown;
    Size m_dropdown_size {};
    std::u16string m_dropdown_form;
    ControlButton m_button;
};

// The drop-down form: Escape or Enter that the form leaves closes it.
class ControlComboBox::CBForm : public FormCombo {
public:
    CBForm(ControlComboBox& combo, Point position, Size size);

    bool on_keydown(KeyCode key) override;
};

}
