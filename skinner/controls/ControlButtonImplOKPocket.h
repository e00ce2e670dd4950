#pragma once

#include "skinner/controls/ControlButtonImpl.h"
#include "skinner/native/ControlSubclass.h"

namespace skinner {

// The title bar's OK button stands for the skinned one: it shows while the
// part lives, and its command clicks the button at its centre (a disabled
// button ignores it). The skinned button itself is never painted, hit nor
// focused.
class ControlButtonImplOKPocket : public ControlButtonImpl, public ControlSubclass {
public:
    explicit ControlButtonImplOKPocket(ControlButtonBase& owner);
    ~ControlButtonImplOKPocket() override;

    platform::LResult window_proc(platform::MessageId message, platform::WParam wparam, platform::LParam lparam,
        MessageContext& context) override;
};

}
