#include "skinner/skin/WorkArea.h"

#include "skinner/Edition.h"

namespace skinner {

namespace {

std::int32_t bar_height(std::int32_t screen_width)
{
    if constexpr (is_smartphone) {
        switch (screen_width) {
        case 176:
            return 20;
        case 240:
            return 27;
        case 352:
            return 40;
        case 480:
            return 54;
        default:
            return 0;
        }
    }
    return screen_width == 480 || screen_width == 640 ? 52 : 26;
}

class BarsWorkArea final : public WorkArea {
public:
    Size size(Size screen) override { return { screen.width, screen.height - 2 * bar_height(screen.width) }; }
};

}

platform::ServiceSlot<WorkArea>& work_area_slot()
{
    static platform::ServiceSlot<WorkArea> slot(
        []() -> std::unique_ptr<WorkArea> { return std::make_unique<BarsWorkArea>(); });
    return slot;
}

}
