#pragma once

#include <string_view>

// Plays one of the platform's sounds ("Voicbeep.wav", "RecEnd.wav") from the
// folder of system files (%windows%), else from the program's folder, to its
// end; false when there is no such sound or nothing plays it.
bool play_system_sound(std::u16string_view name);
