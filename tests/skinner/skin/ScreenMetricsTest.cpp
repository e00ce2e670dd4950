#include "skinner/skin/ScreenMetrics.h"

#include "platform/core/headless/FakeClock.h"
#include "platform/ui/headless/HeadlessDisplay.h"
#include "platform/core/Service.h"
#include "tests/skinner/EditionOnly.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

using skinner::Point;
using skinner::Size;
using skinner::WorkAreaRect;

namespace {

class ScopedFullScreenMode {
public:
    explicit ScopedFullScreenMode(bool on)
        : m_previous(skinner::is_full_screen_mode())
    {
        skinner::store_full_screen_mode(on);
    }
    ~ScopedFullScreenMode() { skinner::store_full_screen_mode(m_previous); }

private:
    bool m_previous;
};

struct WorkAreaCase {
    platform::ScreenMode mode;
    bool full_screen;
    WorkAreaRect expected;
};

// Each screen's size and work area; there is no input panel to raise, so
// asking for it changes nothing.
void check_work_areas(std::initializer_list<WorkAreaCase> cases)
{
    platform::ScopedService<platform::Clock, platform::headless::FakeClock> clock(platform::clock_slot(), 1000);
    for (const WorkAreaCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.mode.size.width) + "x" + std::to_string(c.mode.size.height)
            + (c.full_screen ? " full screen" : ""));
        platform::ScopedService<platform::Display, platform::headless::HeadlessDisplay> screen(
            platform::display_slot(), c.mode);
        ScopedFullScreenMode mode(c.full_screen);
        EXPECT_EQ(skinner::get_screen_size(), (Size { c.mode.size.width, c.mode.size.height }));
        EXPECT_EQ(skinner::get_work_area(false), c.expected);
        EXPECT_EQ(skinner::get_work_area(true), c.expected);
    }
}

TEST(ScreenMetrics, TheWorkAreaLeavesABarAtTheTopAndTheBottom)
{
    ORVANTA_POCKET_PC_ONLY();
    check_work_areas({
        { { { 240, 320 }, 96 }, false, { { 0, 26 }, { 240, 268 } } },
        { { { 240, 320 }, 96 }, true, { { 0, 0 }, { 240, 320 } } },
        { { { 480, 640 }, 192 }, false, { { 0, 52 }, { 480, 536 } } },
        { { { 640, 480 }, 192 }, false, { { 0, 52 }, { 640, 376 } } },
        { { { 320, 240 }, 96 }, false, { { 0, 26 }, { 320, 188 } } },
    });
}

TEST(ScreenMetrics, TheSmartphonesBarsFollowItsScreenWidth)
{
    ORVANTA_SMARTPHONE_ONLY();
    check_work_areas({
        { { { 176, 220 }, 96 }, false, { { 0, 20 }, { 176, 180 } } },
        { { { 240, 320 }, 96 }, false, { { 0, 27 }, { 240, 266 } } },
        { { { 240, 320 }, 96 }, true, { { 0, 0 }, { 240, 320 } } },
        { { { 352, 416 }, 96 }, false, { { 0, 40 }, { 352, 336 } } },
        { { { 480, 640 }, 192 }, false, { { 0, 54 }, { 480, 532 } } },
        { { { 320, 240 }, 96 }, false, { { 0, 0 }, { 320, 240 } } },
    });
}

}
