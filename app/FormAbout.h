#pragma once

#include "app/AboutControls.h"
#include "skinner/core/Form.h"
#include "skinner/menus/ControlMenuMain.h"

#include <string_view>

// The about box: the product text, the logo of the portal that
// "portal.txt" beside the program names (its pictures in the folder "fun"),
// and two links whose addresses the language file holds.
class FormAbout : public skinner::Form, private AboutControls {
public:
    FormAbout(skinner::Form* parent, skinner::Properties& properties, std::u16string_view product,
        std::u16string_view form_name);
    ~FormAbout() override;

    bool on_click(skinner::Control& sender) override;

    const std::u16string& portal() const { return m_portal; }

private:
    void show_logo();
    void open_address(std::u16string_view key);

    skinner::ControlMenuMain m_menu;
};
