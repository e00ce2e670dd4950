#pragma once

#include "platform/core/Service.h"
#include "skinner/graphics/Size.h"

namespace skinner {

// The size of the area that forms may use on a screen, against which a
// skin chooses its form variants. The window layer installs the real one;
// until then the edition's bars come off the top and the bottom of the screen.
class WorkArea {
public:
    virtual ~WorkArea() = default;
    virtual Size size(Size screen) = 0;
};

platform::ServiceSlot<WorkArea>& work_area_slot();

}
