#pragma once

#include <string>
#include <vector>

namespace platform {

// The storage cards: mount points below /media and /mnt that the user can
// write, in the order of the mount table.
std::vector<std::u16string> storage_cards();

// Replaces the mount table file and the folders whose mounts count (tests).
void set_mount_source(std::string table_path, std::vector<std::string> roots);

}
