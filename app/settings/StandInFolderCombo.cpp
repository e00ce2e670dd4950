#include "app/settings/StandInFolderCombo.h"

void StandInFolderCombo::set_path(std::u16string_view path)
{
    items.assign(1, std::u16string(path));
    set_current(-1);
    set_current(0);
}
