#pragma once

#include "skinner/core/ControlSubclass.h"

namespace skinner {

class ControlButtonBase;

// The title bar's OK button standing for a skinned button: shown on the
// button's form window for this object's life, its command clicks the button
// at its centre (a disabled button ignores it).
class TitleBarOk final : public ControlSubclass {
public:
    explicit TitleBarOk(ControlButtonBase& button);
    ~TitleBarOk() override;

    platform::LResult window_proc(platform::MessageId message, platform::WParam wparam, platform::LParam lparam,
        MessageContext& context) override;

private:
    ControlButtonBase& m_button;
};

}
