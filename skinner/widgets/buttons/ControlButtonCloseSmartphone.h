#pragma once

#include "skinner/widgets/buttons/ControlButtonImplMenuSmartphone.h"

namespace skinner {

// A soft-key menu entry that closes the form.
class ControlButtonCloseSmartphone final : public ControlButtonImplMenuSmartphone {
public:
    explicit ControlButtonCloseSmartphone(ControlButtonBase& owner)
        : ControlButtonImplMenuSmartphone(owner, u"")
    {
    }

    void on_click(const ButtonClick& click) override;
};

}
