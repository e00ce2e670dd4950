#pragma once

#include <string>

// A settings file that is there but does not read as settings (cut short, garbage,
// unreadable) would be replaced by the defaults at the next save. Moved aside first, it
// stays beside its place as "<name>.damaged" (numbered when that is taken). Gives the
// path it now has; empty when the file is missing, reads as settings, or could not be
// moved (then it stays where it is).
std::u16string keep_damaged_settings(const std::u16string& path);
