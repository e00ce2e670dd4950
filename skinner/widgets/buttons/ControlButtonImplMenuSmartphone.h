#pragma once

#include "skinner/widgets/buttons/ControlButtonImplMenu5Pocket.h"

namespace skinner {

// The button as an entry of the form's soft-key menus; the skinned button
// itself is never painted, hit nor focused.
class ControlButtonImplMenuSmartphone : public ControlButtonImplMenu5Pocket {
public:
    ControlButtonImplMenuSmartphone(ControlButtonBase& owner, std::u16string label)
        : ControlButtonImplMenu5Pocket(owner, std::move(label), false, false)
    {
    }
};

}
