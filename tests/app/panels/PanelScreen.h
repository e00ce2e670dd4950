#pragma once

#include "model/Document.h"
#include "os/Application.h"
#include "platform/core/Service.h"
#include "platform/core/Utf8.h"
#include "platform/core/headless/FakeClock.h"
#include "platform/ui/headless/HeadlessDisplay.h"
#include "platform/ui/WindowManager.h"
#include "skinner/core/Container.h"
#include "skinner/core/Control.h"
#include "skinner/core/Form.h"
#include "skinner/skin/Properties.h"
#include "tests/model/DocumentFixture.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>

// The main skin's "Main" form as a host for one panel or control at a time,
// over a document in a folder of its own, on a headless screen and a fake
// clock. Scale 2 is the 480 x 640 screen.
namespace test {

inline std::u16string program_file(std::string_view relative)
{
    return platform::from_utf8(std::string(ORVANTA_PROGRAM_DIR) + "/" + std::string(relative));
}

inline skinner::Point centre(const skinner::Control& control)
{
    return { control.position().x + control.size().width / 2,
        control.position().y + control.size().height / 2 };
}

inline int red(platform::ColorRef c)
{
    return int(c & 0xFF);
}

inline int green(platform::ColorRef c)
{
    return int(c >> 8 & 0xFF);
}

inline int blue(platform::ColorRef c)
{
    return int(c >> 16 & 0xFF);
}

// A form that does with a slider's wish what the main form does with the
// position's: seeks there.
class HostForm : public skinner::Form {
public:
    HostForm(skinner::Properties& properties, std::u16string_view name)
        : Form(nullptr, properties, name)
    {
    }

    std::vector<std::pair<std::u16string, double>> wishes;
    std::vector<std::u16string> clicks;

    bool on_value_changed(skinner::Control& sender, double value) override
    {
        wishes.emplace_back(sender.id(), value);
        if (sender.id() == u"pbPosition") {
            Document::instance()->seek(value);
            Document::instance()->notify(Document::Changes { false, true, false, false });
        }
        return true;
    }

    bool on_click(skinner::Control& sender) override
    {
        clicks.push_back(sender.id());
        return true;
    }
};

class PanelScreen : public DocumentTest {
protected:
    explicit PanelScreen(
        int scale = 1, const std::u16string& skin = program_file("skins/Default/Default.skin"))
        : PanelScreen(scale == 2 ? platform::ScreenMode { { 480, 640 }, 192 } : platform::ScreenMode {}, skin)
    {
    }

    PanelScreen(platform::ScreenMode mode, const std::u16string& skin)
        : screen(platform::display_slot(), mode)
    {
        EXPECT_TRUE(skin_store.load_skin_and_language(
            skin, program_file("English.lng"), { mode.size.width, mode.size.height }));
    }

    ~PanelScreen() override
    {
        host.reset();
        document.reset();
    }

    // The document, then the host form.
    void open(std::u16string_view form = u"Main")
    {
        document = std::make_unique<Document>();
        host = std::make_unique<HostForm>(skin_store, form);
    }

    skinner::Container& inside(skinner::Control& panel) { return *panel.get_container(); }

    template<typename T>
    T& child(skinner::Control& panel, std::u16string_view id)
    {
        auto* control = dynamic_cast<T*>(panel.get_container()->get_control(id));
        if (!control)
            throw std::runtime_error("no such child: " + platform::to_utf8(id));
        return *control;
    }

    platform::Point on_screen(skinner::Point client) const
    {
        return platform::client_to_screen(host->window().handle(), { client.x, client.y });
    }

    platform::ColorRef pixel(skinner::Point client) const { return screen->pixel(on_screen(client)); }

    void tap(const skinner::Control& control, std::uint32_t after_ms = 0)
    {
        screen->tap(on_screen(centre(control)), after_ms);
    }

    void drag(skinner::Point from, skinner::Point to)
    {
        screen->pen_down(on_screen(from), 50);
        screen->pen_move(on_screen({ (from.x + to.x) / 2, (from.y + to.y) / 2 }), 50);
        screen->pen_move(on_screen(to), 50);
        screen->pen_up(on_screen(to), 50);
    }

    void run() { screen->run_until_idle(); }

    void notify_all() { document->notify(Document::Changes { true, true, true, true }); }

    os::Application application { u"PanelsTest" };
    platform::ScopedService<platform::Clock, platform::headless::FakeClock> clock { platform::clock_slot(),
        10000 };
    platform::ScopedService<platform::Display, platform::headless::HeadlessDisplay> screen;
    skinner::Properties skin_store;
    std::unique_ptr<Document> document;
    std::unique_ptr<HostForm> host;
};

}
