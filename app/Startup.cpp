#include "app/Startup.h"

#include "app/MainForm.h"
#include "app/SettingsSkin.h"
#include "dialogs/CompletionDrain.h"
#include "liba/Path.h"
#include "model/Document.h"
#include "os/Application.h"
#include "os/Log.h"
#include "os/Registry.h"
#include "platform/Resources.h"
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

void run_main_form(Document& document, skinner::Properties& skin, std::u16string_view command_line,
    os::Application& application)
{
    const Settings& settings = document.get_settings();
    skin.load_language(settings.language_file());
    get_settings_skin().load_language(settings.language_file());
    recording_drain_slot().install(std::make_unique<CompletionDrain>(get_settings_skin()));
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
    Document document;
    const skinner::Size screen = skinner::get_screen_size();
    skinner::Properties skin(document.get_settings().skin, screen);
    if (!skin.check_version(skin_version, screen)) {
        skin.load_skin(fallback_skin(), screen);
        if (!skin.check_version(skin_version, screen)) {
            skinner::Form::message_box(
                nullptr, u"Warning", u"Skin not found or it is incompatible with this version of Orvanta");
            application.release_instance_lock();
            return 0;
        }
    }
    run_main_form(document, skin, command_line, application);
    return 0;
}
