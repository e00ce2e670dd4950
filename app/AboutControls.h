#pragma once

#include "skinner/widgets/buttons/ControlButton.h"
#include "skinner/widgets/text/ControlFrame.h"
#include "skinner/widgets/pictures/ControlPicture.h"

#include <string>

namespace skinner {
class Form;
}

// The about form's own controls: the product line, the portal's logo with
// its link, and the maker's link.
class AboutControls {
protected:
    explicit AboutControls(skinner::Form& form);
    ~AboutControls();

    skinner::Form& m_form;
    skinner::ControlFrame m_product;
    skinner::ControlPicture m_logo;
    skinner::ControlButton m_logo_link;
    skinner::ControlButton m_maker_link;
    // Names the logo and its address in the language file; empty without "portal.txt".
    std::u16string m_portal;
};
