#pragma once

#include "skinner/widgets/buttons/ControlButtonImpl.h"
#include "skinner/widgets/buttons/TitleBarOk.h"

namespace skinner {

// The title bar's OK button stands for the skinned one, which is itself
// never painted, hit nor focused.
class ControlButtonImplOKPocket final : public ControlButtonImpl {
public:
    explicit ControlButtonImplOKPocket(ControlButtonBase& owner)
        : ControlButtonImpl(owner, false, false)
        , m_ok(owner)
    {
    }

private:
    TitleBarOk m_ok;
};

}
