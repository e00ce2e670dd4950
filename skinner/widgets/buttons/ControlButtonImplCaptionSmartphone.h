#pragma once

#include "skinner/widgets/buttons/ControlButtonImpl.h"

namespace skinner {

// The button's text is the form window's title, and the shell's tray is told
// to show it again; the button itself is never painted, hit nor focused.
class ControlButtonImplCaptionSmartphone final : public ControlButtonImpl {
public:
    explicit ControlButtonImplCaptionSmartphone(ControlButtonBase& owner);

    void set_text(std::u16string_view text) override;
};

}
