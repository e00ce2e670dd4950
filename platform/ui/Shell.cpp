#include "platform/ui/Shell.h"

#include "platform/core/MessageQueue.h"
#include "platform/core/Window.h"
#include "platform/ui/HotKeys.h"
#include "platform/ui/Input.h"
#include "platform/ui/Screen.h"
#include "platform/ui/WindowManager.h"

namespace platform {

namespace {

ShellKind g_shell_kind = ShellKind::pocket_pc;

}

void set_shell_kind(ShellKind kind)
{
    g_shell_kind = kind;
}

ShellKind shell_kind()
{
    return g_shell_kind;
}

bool has_soft_keys()
{
    return g_shell_kind != ShellKind::pocket_pc;
}

InputPanelInfo input_panel_info()
{
    InputPanelInfo info;
    Size s = screen_size();
    info.visible_desktop = { 0, bars_shown() ? title_bar_rect().bottom : 0, s.width, s.height };
    return info;
}

void navigate_back()
{
    set_active_window(no_window);
}

bool send_back_to_focus_window(MessageId, WParam, LParam lparam)
{
    Window focus = focus_window();
    if (focus == no_window)
        return false;
    if (hot_key_modifiers(lparam) & mod::key_up)
        return post_message(focus, msg::key_up, vk::back, LParam(1 | 1 << 30 | 1u << 31));
    // The loop's translation makes its character (8).
    return post_message(focus, msg::key_down, vk::back, 1);
}

bool post_broadcast_message(MessageId id, WParam wparam, LParam lparam)
{
    for (Window w : top_level_windows())
        post_message(w, id, wparam, lparam);
    return true;
}

}
