#pragma once

#include "skinner/core/Control.h"
#include "skinner/widgets/buttons/ControlButtonBase.h"
#include "platform/ui/Screen.h"
#include "skinner/core/Form.h"
#include "tests/skinner/FormScreen.h"

#include <functional>
#include <string>
#include <vector>

// The framework skin's form of buttons, with a listener that records every
// click that climbs to the form.
namespace test {

// The swatches of the skin's "looks" picture.
inline constexpr platform::ColorRef look_red = platform::rgb(255, 0, 0);
inline constexpr platform::ColorRef look_green = platform::rgb(0, 255, 0);
inline constexpr platform::ColorRef look_blue = platform::rgb(0, 0, 255);
inline constexpr platform::ColorRef look_yellow = platform::rgb(255, 255, 0);
inline constexpr platform::ColorRef look_magenta = platform::rgb(255, 0, 255);

class ClickLog : public skinner::Listener {
public:
    // The sender's id, one entry per click.
    std::vector<std::u16string> clicks;
    // Called at each click, after it is logged.
    std::function<void(skinner::Control&)> on_each;

    bool on_click(skinner::Control& sender) override
    {
        clicks.push_back(sender.id());
        if (on_each)
            on_each(sender);
        return true;
    }
};

class ButtonScreen : public FormScreen {
protected:
    // The form in front and active, as its modal loop makes it: its focused
    // control shows as such, and the title bar is its own.
    ButtonScreen()
    {
        platform::set_foreground_window(form.window().handle());
        form.set_active(true);
    }

    // A point near the control's top-left corner, clear of its text.
    static skinner::Point corner(const skinner::Control& control)
    {
        return { control.position().x + 2, control.position().y + 2 };
    }

    static skinner::Point centre(const skinner::Control& control)
    {
        return { control.position().x + control.size().width / 2,
            control.position().y + control.size().height / 2 };
    }

    platform::ColorRef corner_colour(const skinner::Control& control)
    {
        run();
        return pixel_at(form, corner(control));
    }

    // The title bar's OK button: its middle, and whether its frame shows.
    static platform::Point ok_middle()
    {
        const platform::Rect bar = platform::title_bar_rect();
        return { bar.right - bar.height() * 3 / 4, bar.top + bar.height() / 2 };
    }

    bool ok_shown()
    {
        run();
        const platform::Rect bar = platform::title_bar_rect();
        const platform::Point frame_edge { bar.right - bar.height() * 3 / 2, bar.top + bar.height() / 2 };
        return screen->pixel(frame_edge) != screen->pixel({ bar.right - 1, bar.top });
    }

    // Nothing left to repaint.
    bool clean() const { return form.window().dirty_size() == skinner::Size {}; }

    ClickLog log;
    skinner::Form form { nullptr, properties, u"Buttons", &log };
};

}
