#pragma once

#include "skinner/widgets/buttons/ControlButtonImplMenu5Pocket.h"
#include "skinner/widgets/buttons/TitleBarOk.h"

namespace skinner {

// A menu-bar entry labelled for OK that also shows the title bar's OK
// button for the skinned one, which is itself never painted, hit nor focused.
class ControlButtonImplMenu5PocketOK final : public ControlButtonImplMenu5Pocket {
public:
    explicit ControlButtonImplMenu5PocketOK(ControlButtonBase& owner)
        : ControlButtonImplMenu5Pocket(owner, u"#smartphone_ok#", false, false)
        , m_ok(owner)
    {
    }

private:
    TitleBarOk m_ok;
};

}
