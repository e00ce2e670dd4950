#include "app/Startup.h"

#include "app/MainForm.h"
#include "app/SettingsSkinStore.h"
#include "dialogs/CompletionDrain.h"
#include "liba/Path.h"
#include "model/DamagedSettings.h"
#include "model/Document.h"
#include "os/Application.h"
#include "os/FatalRescue.h"
#include "os/Log.h"
#include "os/PathMacros.h"
#include "os/Registry.h"
#include "platform/Resources.h"
#include "platform/Thread.h"
#include "platform/Window.h"
#include "platform/ui/HotKeys.h"
#include "skinner/menus/MenuBarResources.h"
#include "skinner/loops/ScreenMetrics.h"
#include "skinner/skin/Properties.h"

#include <memory>

namespace {

std::u16string fallback_skin()
{
    return liba::join_path(
        liba::join_path(liba::join_path(u"%app_path%", u"skins"), u"Default"), u"Default.skin");
}

// The main form's class answers a second launch, so other processes must find it.
void make_main_class_reachable(const os::Application& application)
{
    platform::register_window_class({ application.window_class_name(), {}, true,
        platform::cs::vertical_redraw | platform::cs::horizontal_redraw | platform::cs::double_clicks });
}

// Waits for the writer without a form, as a skin may be what failed, and gives up when it
// takes nothing for a while (a full disk): the process is ending.
class QuietDrain : public RecordingDrain {
public:
    void run_completion_form(skinner::Form&, audio::ActiveBuffer& buffer) override { wait(buffer); }

    void wait(audio::ActiveBuffer& buffer) override
    {
        CompletionDrain::poll_until_drained(buffer, stall_timeout_ms);
    }

private:
    static constexpr std::uint32_t stall_timeout_ms = 10000;
};

// A fatal error on the GUI thread (a skin found damaged by a form) first closes a running
// recording, so that its file is whole.
void rescue_recording_on_fatal_error(Document& document)
{
    const platform::ThreadId gui = platform::current_thread_id();
    os::set_fatal_error_rescue([&document, gui] {
        if (platform::current_thread_id() != gui || !document.is_recording())
            return;
        recording_drain_slot().install(std::make_unique<QuietDrain>());
        document.stop(nullptr);
    });
}

// Shown once: the damaged file stays where it was moved; the defaults are saved now.
void report_damaged_settings(Document& document, const std::u16string& kept)
{
    if (kept.empty())
        return;
    skinner::Form::message_box(nullptr, u"Warning",
        u"The settings file could not be read. It is kept as " + kept
            + u"; the settings start from their defaults.");
    document.get_settings().save(Settings::file_path());
}

void run_main_form(Document& document, skinner::Properties& skin, std::u16string_view command_line,
    os::Application& application)
{
    const Settings& settings = document.get_settings();
    skin.load_language(settings.language_file());
    recording_drain_slot().install(std::make_unique<CompletionDrain>(get_settings_skin()));
    rescue_recording_on_fatal_error(document);
    make_main_class_reachable(application);
    auto form = std::make_unique<MainForm>(skin, u"Main");
    if (command_line == u"AppRunAtTime") {
        form->on_copy_data(command_line);
        form->show(true);
    } else if (command_line != u"-hide") {
        if (!command_line.empty()) {
            form->explorer().select_path(std::u16string(command_line));
            form->explorer().play_selection();
        }
        form->show(true);
    }
    application.release_instance_lock();
    document.notify(Document::Changes(true, true, true, true));
    form->do_modal();
    os::set_fatal_error_rescue(nullptr);
}

int refuse_start(os::Application& application, std::u16string_view text)
{
    skinner::Form::message_box(nullptr, u"Warning", text);
    application.release_instance_lock();
    return Startup::failure_exit_code;
}

}

int Startup::run(std::u16string_view command_line)
{
    os::Application application(u"Orvanta");
    if (application.activate_previous_instance(command_line))
        return 0;
    os::log() << u"cmd_line[" << command_line << u"] \n";
    skinner::add_menu_bar_resources(platform::program_resources());
    // The shell's key list, which the settings size their key commands by.
    platform::seed_hardware_keys(os::registry_store());
    const std::u16string kept_settings = keep_damaged_settings(Settings::file_path());
    Document document;
    const skinner::Size screen = skinner::get_screen_size();
    // Every box from here on is the settings skin's error form: its texts come first.
    get_settings_skin().load_language(document.get_settings().language_file());
    const std::u16string broken = broken_dialog_skin(screen);
    if (!broken.empty())
        return refuse_start(application,
            u"The dialogs' skin is damaged or missing: " + os::expand_path_macros(broken));
    report_damaged_settings(document, kept_settings);
    skinner::Properties skin(document.get_settings().skin, screen);
    if (!skin.check_version(skin_version, screen)) {
        skin.load_skin(fallback_skin(), screen);
        if (!skin.check_version(skin_version, screen))
            return refuse_start(application, u"Skin not found or it is incompatible with this version of Orvanta");
    }
    run_main_form(document, skin, command_line, application);
    return 0;
}
