#pragma once

#include "skinner/skin/Properties.h"

#include <string>
#include <string_view>

// The names the dialogs' skin files carry; any other skin lacks their forms.
inline constexpr std::u16string_view settings_skin_version = u"OrvantaSettings_500";
inline constexpr std::u16string_view dialogs_skin_version = u"OrvantaDialogs_500";

// The settings dialogs' skin store, loaded on first use for the screen's size.
skinner::Properties& get_settings_skin();

// The about form's skin file, its macro not expanded.
std::u16string dialogs_skin_path();

// Checks the dialogs' skins as the main skin is checked at start-up: the path of the
// first that does not load or is of another kind, empty when both serve.
std::u16string broken_dialog_skin(skinner::Size screen);
