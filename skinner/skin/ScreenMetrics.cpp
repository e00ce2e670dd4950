#include "skinner/skin/ScreenMetrics.h"

#include "platform/ui/DeviceContext.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Shell.h"
#include "skinner/skin/Edition.h"

namespace skinner {

namespace {

bool g_full_screen = false;

}

Size get_screen_size()
{
    platform::DeviceContext screen = platform::DeviceContext::for_screen();
    return { screen.device_caps(platform::caps::horizontal_resolution),
        screen.device_caps(platform::caps::vertical_resolution) };
}

std::int32_t edition_bar_height(std::int32_t screen_width)
{
    if constexpr (is_smartphone)
        return platform::smartphone_bar_height(screen_width);
    return screen_width == 480 || screen_width == 640 ? 52 : 26;
}

WorkAreaRect get_work_area(bool use_input_panel)
{
    const Size screen = get_screen_size();
    const std::int32_t bar = g_full_screen ? 0 : edition_bar_height(screen.width);
    const Point top_left { 0, bar };
    if (!is_smartphone && use_input_panel && !g_full_screen) {
        platform::InputPanelInfo panel = platform::input_panel_info();
        if (panel.flags & platform::sipf::on)
            return { top_left, { panel.visible_desktop.right, panel.visible_desktop.bottom - bar } };
    }
    return { top_left, { screen.width - 2 * top_left.x, screen.height - 2 * top_left.y } };
}

bool is_full_screen_mode()
{
    return g_full_screen;
}

bool store_full_screen_mode(bool flag)
{
    if (flag == g_full_screen)
        return false;
    g_full_screen = flag;
    return true;
}

}
