#include "app/SettingsSkinStore.h"

#include "liba/Path.h"
#include "os/PathMacros.h"
#include "skinner/skin/ScreenMetrics.h"

namespace {

std::u16string settings_folder_file(std::u16string_view name)
{
    return liba::join_path(liba::join_path(os::skins_folder(), u"settings"), name);
}

}

skinner::Properties& get_settings_skin()
{
    static skinner::Properties store { settings_folder_file(u"settings.skin"), skinner::get_screen_size() };
    return store;
}

std::u16string dialogs_skin_path()
{
    return settings_folder_file(u"dialogs.skin");
}

std::u16string broken_dialog_skin(skinner::Size screen)
{
    if (!get_settings_skin().check_version(settings_skin_version, screen))
        return settings_folder_file(u"settings.skin");
    const skinner::Properties dialogs(dialogs_skin_path(), screen);
    if (!dialogs.check_version(dialogs_skin_version, screen))
        return dialogs_skin_path();
    return {};
}
