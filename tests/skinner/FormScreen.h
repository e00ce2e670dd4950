#pragma once

#include "platform/core/Service.h"
#include "platform/core/Utf8.h"
#include "platform/core/headless/FakeClock.h"
#include "platform/ui/headless/HeadlessDisplay.h"
#include "platform/ui/WindowManager.h"
#include "skinner/core/Container.h"
#include "skinner/core/Control.h"
#include "skinner/core/Form.h"
#include "skinner/graphics/Canvas.h"
#include "skinner/skin/Properties.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

// A headless screen, a fake clock and the framework's test skin, with a
// control that paints itself in one colour and records what reaches it.
namespace test {

inline const std::u16string framework_skin_path = platform::from_utf8(ORVANTA_FRAMEWORK_SKIN);

inline std::string narrow(std::u16string_view text)
{
    return platform::to_utf8(text);
}

class ProbeControl : public skinner::Control {
public:
    ProbeControl(skinner::Container& container, std::u16string_view name, skinner::Color color = { 200, 0, 0, 0 },
        skinner::ControlMode mode = skinner::ControlMode::named)
        : Control(container, name, mode)
        , color(color)
    {
    }

    skinner::Color color;
    // What reached the control, one line each: "down 5,6 0", "key 4", "timer 3", ...
    std::vector<std::string> events;
    int paints = 0;
    bool takes_keys = false;

    void paint(skinner::Canvas& canvas, skinner::Point area_position, skinner::Size area_size) override
    {
        ++paints;
        canvas.fill_rect(position(), size(), color);
        Control::paint(canvas, area_position, area_size);
    }

    void on_pen_down(skinner::Point p, std::int32_t argument) override { record("down", p, argument); }
    void on_pen_up(skinner::Point p, std::int32_t argument) override { record("up", p, argument); }
    void on_alt_down(skinner::Point p, std::int32_t argument) override { record("alt-down", p, argument); }
    void on_alt_up(skinner::Point p, std::int32_t argument) override { record("alt-up", p, argument); }
    void on_context_down(skinner::Point p, std::int32_t argument) override { record("hold-down", p, argument); }
    void on_context_up(skinner::Point p, std::int32_t argument) override { record("hold-up", p, argument); }
    void on_pen_move(skinner::Point p) override { record("move", p, 0); }
    void on_pen_enter() override { events.push_back("enter"); }
    void on_pen_leave() override { events.push_back("leave"); }
    void on_focus_gained() override
    {
        events.push_back("focus+");
        Control::on_focus_gained();
    }
    void on_focus_lost() override
    {
        events.push_back("focus-");
        Control::on_focus_lost();
    }
    void on_visible_changed(bool visible) override { events.push_back(visible ? "shown" : "hidden"); }
    void on_enabled_changed(bool enabled) override { events.push_back(enabled ? "enabled" : "disabled"); }
    bool on_keydown(skinner::KeyCode key) override
    {
        events.push_back("key " + std::to_string(key));
        return takes_keys;
    }
    bool on_keyup(skinner::KeyCode key) override
    {
        events.push_back("keyup " + std::to_string(key));
        return takes_keys;
    }
    bool on_text_input(std::u16string_view text) override
    {
        events.push_back("text " + narrow(text));
        return takes_keys;
    }
    void on_timer(std::uint32_t id) override { events.push_back("timer " + std::to_string(id)); }

    void clear() { events.clear(); }

private:
    void record(const char* what, skinner::Point p, std::int32_t argument)
    {
        events.push_back(std::string(what) + " " + std::to_string(p.x) + "," + std::to_string(p.y) + " "
            + std::to_string(argument));
    }
};

class FormScreen : public ::testing::Test {
public:
    // The screen point of a point of the form's client area.
    static platform::Point on_screen(const skinner::Form& form, skinner::Point client)
    {
        return platform::client_to_screen(form.window().handle(), { client.x, client.y });
    }

protected:
    platform::ColorRef pixel_at(const skinner::Form& form, skinner::Point client) const
    {
        return screen->pixel(on_screen(form, client));
    }

    void run() { screen->run_until_idle(); }

    platform::ScopedService<platform::Clock, platform::headless::FakeClock> clock { platform::clock_slot(), 10000 };
    platform::ScopedService<platform::Display, platform::headless::HeadlessDisplay> screen {
        platform::display_slot(), platform::ScreenMode {}
    };
    skinner::Properties properties { framework_skin_path, { 240, 320 } };
};

}
