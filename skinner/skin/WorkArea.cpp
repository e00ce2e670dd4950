#include "skinner/skin/WorkArea.h"

#include "skinner/skin/ScreenMetrics.h"

namespace skinner {

namespace {

class BarsWorkArea final : public WorkArea {
public:
    Size size(Size screen) override { return { screen.width, screen.height - 2 * edition_bar_height(screen.width) }; }
};

}

platform::ServiceSlot<WorkArea>& work_area_slot()
{
    static platform::ServiceSlot<WorkArea> slot(
        []() -> std::unique_ptr<WorkArea> { return std::make_unique<BarsWorkArea>(); });
    return slot;
}

}
