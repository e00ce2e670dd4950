#pragma once

#include "app/settings/SettingsForm.h"
#include "dialogs/ErrorForm.h"
#include "model/Settings.h"
#include "os/Application.h"
#include "os/Registry.h"
#include "platform/core/Message.h"
#include "platform/core/Service.h"
#include "platform/core/Utf8.h"
#include "platform/core/headless/FakeClock.h"
#include "platform/ui/headless/HeadlessDisplay.h"
#include "platform/ui/WindowManager.h"
#include "skinner/widgets/text/ControlFrame.h"
#include "skinner/skin/Properties.h"
#include "tests/support/EnvironmentOverride.h"
#include "tests/support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

// A headless screen on a fake clock and a program folder of the test's own
// (%app_path%), filled from the built program folder: its language file and
// the skins. The registry store, the system folder (%windows%) and the
// desktop's configuration are the test's too.
namespace test {

class SettingsScreen : public ::testing::Test {
public:
    enum Page { recording = 0, playback, buttons, schedule, associate, language, skin };

protected:
    explicit SettingsScreen(platform::ScreenMode mode = {})
        : screen_mode(mode)
    {
        copy_program_file("English.lng");
        copy_program_file("skins");
        settings_skin.load_skin_and_language(app_file("skins/settings/settings.skin"), app_file("English.lng"),
            { screen_mode.size.width, screen_mode.size.height });
    }

    static std::string program_file(const std::string& relative)
    {
        return std::string(ORVANTA_PROGRAM_DIR) + "/" + relative;
    }

    std::u16string app_file(const std::string& relative) const
    {
        return platform::from_utf8(app.file(relative));
    }

    void copy_program_file(const std::string& relative, const std::string& to = {}) const
    {
        std::filesystem::copy(program_file(relative), app.file(to.empty() ? relative : to),
            std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
    }

    // A control of a page, by its id.
    template<typename T>
    static T& control(SettingsForm& form, Page page, std::u16string_view id)
    {
        skinner::Control* found = form.tab().pages()[page]->get_container()->get_control(id);
        T* typed = dynamic_cast<T*>(found);
        if (!typed)
            throw std::runtime_error("no control " + platform::to_utf8(id));
        return *typed;
    }

    // Closes the form through its window, as the platform's close does,
    // answering the error forms that closing shows.
    void close(SettingsForm& form, int error_forms = 0)
    {
        screen->call([&] { platform::post_message(form.window().handle(), platform::msg::close, 0, 0); });
        for (int i = 0; i < error_forms; ++i)
            answer_error();
        form.do_modal();
        EXPECT_FALSE(screen->stalled());
    }

    // Scripts the answer to the next error form: its message is noted and it is closed.
    void answer_error()
    {
        screen->call([this] {
            auto* error = dynamic_cast<ErrorForm*>(skinner::Form::current_modal());
            if (!error) {
                errors.push_back(u"<no error form>");
                return;
            }
            auto* caption = dynamic_cast<skinner::ControlFrame*>(error->get_control(u"frmCaption"));
            auto* message = dynamic_cast<skinner::ControlFrame*>(error->get_control(u"frmMessage"));
            errors.push_back((caption ? caption->text() : u"?") + u": " + (message ? message->text() : u"?"));
            platform::post_message(error->window().handle(), platform::msg::close, 0, 0);
        });
    }

    void run() { screen->run_until_idle(); }

    TempDir dir;
    TempDir app;
    EnvironmentOverride app_path { "ORVANTA_APP_PATH", app.path().c_str() };
    EnvironmentOverride data_home { "XDG_DATA_HOME", dir.file("data").c_str() };
    EnvironmentOverride config_home { "XDG_CONFIG_HOME", dir.file("config").c_str() };
    os::ScopedRegistryFile registry { dir.file("registry") };
    platform::ScreenMode screen_mode;
    os::Application application { u"SettingsTest" };
    platform::ScopedService<platform::Clock, platform::headless::FakeClock> clock { platform::clock_slot(), 10000 };
    platform::ScopedService<platform::Display, platform::headless::HeadlessDisplay> screen {
        platform::display_slot(), screen_mode
    };
    skinner::Properties settings_skin;
    Settings settings;
    // "caption: message" of each error form answered.
    std::vector<std::u16string> errors;
};

}
