#pragma once

#include "app/MainForm.h"
#include "app/Startup.h"
#include "model/Settings.h"
#include "os/Registry.h"
#include "platform/core/FileAssociations.h"
#include "platform/core/MessageBox.h"
#include "platform/core/Service.h"
#include "platform/media/SoundPlayer.h"
#include "platform/core/TimedStart.h"
#include "platform/core/Utf8.h"
#include "platform/media/WaveDriver.h"
#include "platform/core/headless/FakeClock.h"
#include "platform/core/headless/FakeTimedStart.h"
#include "platform/ui/headless/HeadlessDisplay.h"
#include "platform/core/headless/MemoryFileAssociations.h"
#include "platform/media/headless/ScriptedWaveDriver.h"
#include "platform/media/headless/SilentSoundPlayer.h"
#include "platform/ui/WindowManager.h"
#include "skinner/widgets/progress/ControlProgress.h"
#include "skinner/core/Form.h"
#include "tests/audio/devices/DeviceDoubles.h"
#include "tests/support/EnvironmentOverride.h"
#include "tests/support/TempDir.h"
#include "tests/support/Tool.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <vector>

namespace test {

inline std::u16string u16(const std::string& text)
{
    return platform::from_utf8(text);
}

// Keeps what would have been shown.
class RecordingMessageBox : public platform::MessageBox {
public:
    void show(std::u16string_view text, std::u16string_view caption) override
    {
        shown.push_back(platform::to_utf8(caption) + "|" + platform::to_utf8(text));
    }

    std::vector<std::string> shown;
};

// The program folder (skins, English texts and sounds) copied once per test
// program: the settings skin is loaded once per process, from the first %app_path%.
inline const std::string& app_folder()
{
    static TempDir dir;
    static const bool copied = [] {
        namespace fs = std::filesystem;
        const fs::path program = ORVANTA_PROGRAM_DIR;
        std::error_code error;
        fs::copy(program / "skins", fs::path(dir.path()) / "skins", fs::copy_options::recursive, error);
        for (const char* file : { "English.lng", "Voicbeep.wav", "RecEnd.wav" }) {
            if (!error)
                fs::copy_file(program / file, fs::path(dir.path()) / file, error);
        }
        return !error;
    }();
    EXPECT_TRUE(copied);
    return dir.path();
}

// The program's start-up on a headless screen and a fake clock, in a home
// folder of its own, with every device doubled: the test scripts what
// happens while the main form's loop runs.
class AppScreen : public ::testing::Test {
protected:
    AppScreen()
    {
        ::mkdir(runtime_dir.c_str(), 0700);
        std::remove((app_folder() + "/Orvanta.xml").c_str());
    }

    // A settings file for the next start, changed by the test.
    static void write_settings(const std::function<void(Settings&)>& change)
    {
        Settings settings;
        change(settings);
        ASSERT_TRUE(settings.save(Settings::file_path()));
    }

    // A mono 16-bit WAV of a sine made by sox.
    std::string make_wav(const std::string& name, double seconds, int rate = 22050) const
    {
        const std::string path = home.file(name);
        EXPECT_EQ(run_tool({ "sox", "-n", "-r", std::to_string(rate), "-b", "16", "-c", "1", path, "synth",
                      std::to_string(seconds), "sine", "440" })
                      .exit_code,
            0);
        return path;
    }

    static MainForm* main_form() { return dynamic_cast<MainForm*>(skinner::Form::current_modal()); }

    // Runs the check inside the main form's loop after the delay, then closes the form.
    void inside_loop(const std::function<void(MainForm&)>& check, std::uint32_t after_ms = 0)
    {
        screen->call(
            [check] {
                MainForm* form = main_form();
                ASSERT_NE(form, nullptr) << "the main form's loop runs";
                check(*form);
            },
            after_ms);
        close_main_form();
    }

    void close_main_form(std::uint32_t after_ms = 0)
    {
        screen->call(
            [] {
                if (MainForm* form = main_form())
                    form->close();
            },
            after_ms);
    }

    static double progress_value(MainForm& form, std::u16string_view id)
    {
        auto* progress = dynamic_cast<skinner::ControlProgress*>(form.get_control(id));
        EXPECT_NE(progress, nullptr) << platform::to_utf8(id);
        return progress ? progress->value() : -1.0;
    }

    TempDir home;
    const std::string runtime_dir = home.file("run");
    EnvironmentOverride app_path { "ORVANTA_APP_PATH", app_folder().c_str() };
    EnvironmentOverride home_env { "HOME", home.path().c_str() };
    EnvironmentOverride config { "XDG_CONFIG_HOME", home.file("config").c_str() };
    EnvironmentOverride data { "XDG_DATA_HOME", home.file("data").c_str() };
    EnvironmentOverride runtime { "XDG_RUNTIME_DIR", runtime_dir.c_str() };
    os::ScopedRegistryFile registry { home.file("registry") };
    platform::ScopedService<platform::Clock, platform::headless::FakeClock> clock { platform::clock_slot(), 10000 };
    platform::ScopedService<platform::Display, platform::headless::HeadlessDisplay> screen {
        platform::display_slot(), platform::ScreenMode {}
    };
    platform::ScopedService<platform::WaveDriver, platform::headless::ScriptedWaveDriver> driver {
        platform::wave_driver_slot()
    };
    platform::ScopedService<platform::MessageBox, RecordingMessageBox> box { platform::message_box_slot() };
    platform::ScopedService<platform::TimedStart, platform::headless::FakeTimedStart> timed_start {
        platform::timed_start_slot()
    };
    platform::ScopedService<platform::SoundPlayer, platform::headless::SilentSoundPlayer> sounds {
        platform::sound_player_slot()
    };
    platform::ScopedService<platform::FileAssociations, platform::headless::MemoryFileAssociations> associations {
        platform::file_associations_slot()
    };
};

}
