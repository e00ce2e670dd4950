#pragma once

#include "skinner/widgets/buttons/ControlButtonBase.h"

#include <string>

namespace skinner {

// A button with a checked state that each click toggles; the state chooses
// between two sets of looks ("Normal"... and "CheckedNormal"...) and two
// texts ("Text" and "CheckedText").
class ControlCheckBox : public ControlButtonBase {
public:
    // Which of the two texts set_state_text replaces.
    enum class TextState { unchecked, checked };

    ControlCheckBox(Container& container, std::u16string_view name, ControlMode mode = ControlMode::named);

    void load() override;
    // Both states show this text.
    void set_text(std::u16string_view text) override;
    // Toggles, then reports the click.
    void click(const ButtonClick& click) override;
    const ButtonLookSet& get_pictures() const override;

    // The flag goes to the platform part with the state; the same state changes nothing.
    virtual void set_checked(bool checked, bool flag = false);
    virtual void set_state_text(std::u16string_view text, TextState state);

    bool is_checked() const { return m_checked; }
    const std::u16string& unchecked_text() const { return m_unchecked_text; }
    const std::u16string& checked_text() const { return m_checked_text; }

private:
    void load_own();
    void make_impl();
    std::unique_ptr<ControlButtonImpl> make_platform_part();
    void show_state_text();

    std::u16string m_unchecked_text;
    std::u16string m_checked_text;
    bool m_checked = false;
    ButtonLookSet m_checked_looks;
};

}
