#pragma once

#include "platform/core/MessageQueue.h"
#include "platform/core/Service.h"
#include "platform/core/Window.h"
#include "platform/core/headless/FakeClock.h"
#include "platform/ui/headless/HeadlessDisplay.h"
#include "platform/ui/DeviceContext.h"
#include "platform/ui/Paint.h"
#include "platform/ui/Screen.h"
#include "platform/ui/WindowManager.h"

#include <gtest/gtest.h>
#include <map>
#include <set>
#include <optional>
#include <string>
#include <vector>

namespace test {

struct Logged {
    platform::Window window;
    platform::MessageId id;
    platform::WParam wparam;
    platform::LParam lparam;
};

// A headless screen of the mode, a fake clock, and windows that paint
// themselves in one colour and log what they hear. Windows left by a test are
// destroyed after it.
class UiTest : public ::testing::Test {
protected:
    explicit UiTest(platform::ScreenMode mode = {})
        : screen(platform::display_slot(), mode)
    {
    }

    static void SetUpTestSuite()
    {
        platform::register_window_class({ u"UiTestWindow", {}, false, platform::cs::double_clicks });
        platform::register_window_class({ u"UiPlainWindow", {}, false, 0 });
    }

    void TearDown() override
    {
        for (auto it = m_windows.rbegin(); it != m_windows.rend(); ++it)
            platform::destroy_window(*it);
        platform::release_capture();
        platform::Message m;
        while (platform::peek_message(m)) { }
    }

    // A window that fills what it paints with the colour (or paints nothing with
    // nullopt) and logs every message of the kinds watched.
    platform::Window make_window(const platform::Rect& rect, std::uint32_t style, std::optional<platform::ColorRef> color,
        platform::Window parent = {}, const char16_t* class_name = u"UiTestWindow")
    {
        platform::WindowParams params;
        params.class_name = class_name;
        params.style = style;
        params.parent = parent;
        params.x = rect.left;
        params.y = rect.top;
        params.width = rect.width();
        params.height = rect.height();
        platform::Window w = platform::create_window(params);
        m_windows.push_back(w);
        colors[w] = color;
        platform::set_window_procedure(w, [this](platform::Window w, platform::MessageId id, platform::WParam wp, platform::LParam lp) {
            return procedure(w, id, wp, lp);
        });
        return w;
    }

    virtual platform::LResult procedure(platform::Window w, platform::MessageId id, platform::WParam wp, platform::LParam lp)
    {
        if (watched.contains(id))
            log.push_back({ w, id, wp, lp });
        if (id == platform::msg::paint) {
            platform::PaintScope paint(w);
            painted[w].push_back(paint.region());
            if (colors[w])
                paint.dc().fill_rect(platform::client_rect(w), *colors[w]);
            return 0;
        }
        if (id == platform::msg::erase_background)
            return 1;
        return platform::default_window_procedure(w, id, wp, lp);
    }


    platform::ColorRef shown(platform::Point p) { return screen->pixel(p); }


    platform::ScopedService<platform::Clock, platform::headless::FakeClock> clock { platform::clock_slot(),
        10000 };
    platform::ScopedService<platform::Display, platform::headless::HeadlessDisplay> screen;
    std::map<platform::Window, std::optional<platform::ColorRef>> colors;
    std::map<platform::Window, std::vector<platform::Region>> painted;
    std::set<platform::MessageId> watched;
    std::vector<Logged> log;

private:
    std::vector<platform::Window> m_windows;
};

inline constexpr platform::ColorRef red = platform::rgb(255, 0, 0);
inline constexpr platform::ColorRef green = platform::rgb(0, 255, 0);
inline constexpr platform::ColorRef blue = platform::rgb(0, 0, 255);
inline constexpr platform::ColorRef yellow = platform::rgb(255, 255, 0);

}
