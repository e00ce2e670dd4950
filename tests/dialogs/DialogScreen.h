#pragma once

#include "os/Application.h"
#include "platform/core/Service.h"
#include "platform/core/Utf8.h"
#include "platform/core/headless/FakeClock.h"
#include "platform/ui/headless/HeadlessDisplay.h"
#include "platform/ui/Screen.h"
#include "platform/ui/WindowManager.h"
#include "skinner/core/Control.h"
#include "skinner/widgets/text/ControlFrame.h"
#include "skinner/core/Form.h"
#include "skinner/skin/Properties.h"

#include <gtest/gtest.h>
#include <string>

// A headless screen on a fake clock, with the program folder's settings and
// dialogs skins and its English texts, and a main-like form to own dialogs.
namespace test {

inline std::u16string program_file(std::string_view relative)
{
    return platform::from_utf8(std::string(ORVANTA_PROGRAM_DIR) + "/" + std::string(relative));
}

inline skinner::Point centre(const skinner::Control& control)
{
    return { control.position().x + control.size().width / 2, control.position().y + control.size().height / 2 };
}

class DialogScreen : public ::testing::Test {
protected:
    explicit DialogScreen(platform::ScreenMode mode = {})
        : screen(platform::display_slot(), mode)
    {
        settings.load_skin_and_language(program_file("skins/settings/settings.skin"), program_file("English.lng"),
            { mode.size.width, mode.size.height });
    }

    static platform::Point on_screen(const skinner::Form& form, skinner::Point client)
    {
        return platform::client_to_screen(form.window().handle(), { client.x, client.y });
    }

    // Scripts a tap on the form's control, after the delay.
    void tap(const skinner::Form& form, std::u16string_view id, std::uint32_t after_ms = 0)
    {
        const skinner::Control* control = form.get_control(id);
        ASSERT_NE(control, nullptr) << platform::to_utf8(id);
        screen->tap(on_screen(form, centre(*control)), after_ms);
    }

    // Scripts a tap on the title bar's OK button, which the skins' "btnOk" puts there.
    void tap_title_ok(std::uint32_t after_ms = 0)
    {
        const platform::Rect bar = platform::title_bar_rect();
        screen->tap({ bar.right - bar.height() * 3 / 4, bar.top + bar.height() / 2 }, after_ms);
    }

    static std::u16string frame_text(const skinner::Form& form, std::u16string_view id)
    {
        auto* frame = dynamic_cast<const skinner::ControlFrame*>(form.get_control(id));
        return frame ? frame->text() : u"<no frame " + std::u16string(id) + u">";
    }

    void run() { screen->run_until_idle(); }

    // Timers of the framework (drop-downs, long presses) run on its scheduler.
    os::Application application { u"DialogsTest" };
    platform::ScopedService<platform::Clock, platform::headless::FakeClock> clock { platform::clock_slot(), 10000 };
    platform::ScopedService<platform::Display, platform::headless::HeadlessDisplay> screen;
    skinner::Properties settings;
};

}
