#pragma once

#include "skinner/widgets/buttons/ControlButtonImpl.h"

namespace skinner {

// The button's text is the form window's title; the button itself is never
// painted, hit nor focused.
class ControlButtonImplCaptionPocket final : public ControlButtonImpl {
public:
    explicit ControlButtonImplCaptionPocket(ControlButtonBase& owner);

    void set_text(std::u16string_view text) override;
};

}
