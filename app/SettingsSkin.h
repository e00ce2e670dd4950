#pragma once

#include "skinner/skin/Properties.h"

// The settings dialogs' skin store, loaded on first use for the screen's size.
skinner::Properties& get_settings_skin();
