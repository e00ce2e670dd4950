#pragma once

#include "skinner/widgets/buttons/ControlButtonImpl.h"

namespace skinner {

// A click asks the form window to close, before the form hears of the click.
class ControlButtonImplClosePocket final : public ControlButtonImpl {
public:
    explicit ControlButtonImplClosePocket(ControlButtonBase& owner)
        : ControlButtonImpl(owner, true, true)
    {
    }

    void on_click(const ButtonClick& click) override;
};

}
