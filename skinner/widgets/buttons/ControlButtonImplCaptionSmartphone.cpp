#include "skinner/widgets/buttons/ControlButtonImplCaptionSmartphone.h"

#include "os/Log.h"
#include "platform/core/MessageQueue.h"
#include "platform/core/Window.h"
#include "platform/ui/WindowManager.h"
#include "skinner/widgets/buttons/ControlButtonBase.h"
#include "skinner/core/Form.h"

namespace skinner {

namespace {

constexpr std::u16string_view tray = u"tray";
constexpr platform::WParam tray_title_changed = 4;

platform::Window find_tray()
{
    for (platform::Window window : platform::top_level_windows())
        if (platform::window_class_name(window) == tray && platform::window_text(window) == tray)
            return window;
    return platform::no_window;
}

}

ControlButtonImplCaptionSmartphone::ControlButtonImplCaptionSmartphone(ControlButtonBase& owner)
    : ControlButtonImpl(owner, false, false)
{
    platform::set_window_text(owner.get_form().window().handle(), owner.text());
}

void ControlButtonImplCaptionSmartphone::set_text(std::u16string_view text)
{
    const platform::Window window = owner().get_form().window().handle();
    platform::set_window_text(window, text);
    os::log() << u"Setting gext of hwnd=" << unsigned(window) << u" to {" << text << u"\n";
    if (const platform::Window found = find_tray(); found != platform::no_window)
        platform::post_message(found, platform::msg::user, tray_title_changed, 0);
}

}
