#include "app/SettingsSkin.h"

#include "liba/Path.h"
#include "skinner/loops/ScreenMetrics.h"

skinner::Properties& get_settings_skin()
{
    static skinner::Properties store {
        liba::join_path(liba::join_path(liba::join_path(u"%app_path%", u"skins"), u"settings"), u"settings.skin"),
        skinner::get_screen_size()
    };
    return store;
}
