#include "skinner/widgets/combos/FormCombo.h"

#include "os/Log.h"
#include "platform/ui/WindowManager.h"
#include "skinner/core/FormImpl.h"

namespace skinner {

namespace {

constexpr std::uint32_t ex_style_drop_down = 0x80;

}

std::unique_ptr<FormImpl> FormCombo::make_window(Form& owner, Point position, Size size)
{
    const platform::Window owner_window = owner.window().handle();
    const platform::Point at = platform::client_to_screen(owner_window, position);
    platform::WindowParams params;
    params.class_name = u"STATIC";
    params.style = platform::ws::child;
    params.ex_style = ex_style_drop_down;
    params.parent = owner_window;
    // Screen numbers: they stay when the window leaves its parent below.
    params.x = at.x;
    params.y = at.y;
    params.width = size.width;
    params.height = size.height;
    return std::make_unique<FormImpl>(platform::create_window(params), true);
}

FormCombo::FormCombo(
    Form& owner, Properties& properties, std::u16string_view name, Listener* listener, Point position, Size size)
    : Form(&owner, make_window(owner, position, size), properties, name, listener)
{
    os::log() << u"FormCombo::FormCombo 1\n";
    set_rect({}, size);
    os::log() << u"FormCombo::FormCombo 2\n";
    const platform::Window drop_down = window().handle();
    platform::set_focus(drop_down);
    platform::set_parent(drop_down, platform::no_window);
    platform::set_capture(drop_down);
    platform::show_window(drop_down, platform::sw::show_normal);
    os::log() << u"FormCombo::FormCombo 3\n";
}

bool FormCombo::can_close()
{
    os::log() << u"FormCombo::can_close 1\n";
    return true;
}

}
