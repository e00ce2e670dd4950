#pragma once

#include <string>
#include <string_view>

namespace playlist {

// The file an entry names. A relative path lies in the playlist's folder;
// '\' separators, as lists written on a handheld have them, become '/', and
// a path macro at the start is expanded. An address such as "http://..."
// stays as it is, and so does an empty path.
std::u16string resolve_entry_path(std::u16string_view list_path, std::u16string_view entry_path);

}
