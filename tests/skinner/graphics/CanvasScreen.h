#pragma once

#include "platform/core/Service.h"
#include "platform/core/Window.h"
#include "platform/core/headless/FakeClock.h"
#include "platform/ui/headless/HeadlessDisplay.h"
#include "platform/ui/Paint.h"
#include "platform/ui/Screen.h"
#include "platform/ui/WindowManager.h"
#include "skinner/graphics/Canvas.h"

#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

namespace test {

// A headless device screen with one full-screen window; draw() repaints the
// window through a canvas on its paint context and the test reads what the
// screen shows.
inline constexpr platform::ColorRef background = platform::rgb(250, 250, 250);

class CanvasScreen : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::register_window_class({ u"CanvasScreen", {}, false, 0 });
        platform::WindowParams params;
        params.class_name = u"CanvasScreen";
        params.style = platform::ws::popup;
        m_window = platform::create_window(params);
        platform::set_window_procedure(m_window,
            [this](platform::Window w, platform::MessageId id, platform::WParam wp, platform::LParam lp) {
                return procedure(w, id, wp, lp);
            });
        platform::move_window(m_window, { 0, 0, size.width, size.height });
        platform::set_full_screen(m_window, platform::shfs::hide_task_bar);
        platform::show_window(m_window, platform::sw::show);
        screen->run_until_idle();
    }

    void TearDown() override { platform::destroy_window(m_window); }

    // Clears the window to the background and runs the drawing on a canvas
    // of the whole window.
    void draw(std::function<void(skinner::Canvas&)> paint)
    {
        m_paint = std::move(paint);
        platform::invalidate_rect(m_window);
        screen->run_until_idle();
        m_paint = nullptr;
    }

    platform::ColorRef pixel(std::int32_t x, std::int32_t y) const { return screen->pixel({ x, y }); }

    // The pixels of the area from its top left, one character each by the legend.
    std::vector<std::string> pixels(
        const platform::Rect& area, const std::map<char, platform::ColorRef>& legend) const
    {
        std::vector<std::string> rows;
        for (std::int32_t y = area.top; y < area.bottom; ++y) {
            std::string row;
            for (std::int32_t x = area.left; x < area.right; ++x) {
                char shown = '?';
                for (const auto& [c, color] : legend)
                    if (color == pixel(x, y))
                        shown = c;
                row += shown;
            }
            rows.push_back(row);
        }
        return rows;
    }

    // The bounding box of what differs from the background.
    platform::Rect ink() const
    {
        platform::Rect box;
        for (std::int32_t y = 0; y < size.height; ++y)
            for (std::int32_t x = 0; x < size.width; ++x)
                if (pixel(x, y) != background)
                    box = box.unite({ x, y, x + 1, y + 1 });
        return box;
    }

    const platform::Size size { 240, 320 };
    platform::ScopedService<platform::Clock, platform::headless::FakeClock> clock { platform::clock_slot(), 10000 };
    platform::ScopedService<platform::Display, platform::headless::HeadlessDisplay> screen {
        platform::display_slot(), platform::ScreenMode {}
    };

private:
    platform::LResult procedure(
        platform::Window w, platform::MessageId id, platform::WParam wp, platform::LParam lp)
    {
        if (id == platform::msg::erase_background)
            return 1;
        if (id != platform::msg::paint)
            return platform::default_window_procedure(w, id, wp, lp);
        platform::PaintScope paint(w);
        paint.dc().fill_rect(platform::client_rect(w), background);
        if (m_paint) {
            skinner::CanvasImpl impl(paint.dc(), {}, { size.width, size.height });
            skinner::Canvas canvas(impl);
            m_paint(canvas);
        }
        return 0;
    }

    platform::Window m_window {};
    std::function<void(skinner::Canvas&)> m_paint;
};

}
