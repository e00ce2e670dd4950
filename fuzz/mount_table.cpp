// Reads the input as the mount table: every storage card found lies below a
// mount root, is writable and is named once.
#include "fuzz/MemoryFile.h"
#include "platform/core/StorageCards.h"

#include <cstdlib>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const MemoryFile table("mount_table");
    static const std::vector<std::string> roots = { "/media", "/mnt", "/tmp", "/dev/shm" };
    static const bool set_up = [] {
        platform::set_mount_source(platform::to_utf8(table.path()), roots);
        return true;
    }();
    (void)set_up;
    table.store(data, size);
    std::vector<std::u16string> cards = platform::storage_cards();
    for (std::size_t i = 0; i < cards.size(); ++i) {
        std::string path = platform::to_utf8(cards[i]);
        bool below = false;
        for (const std::string& root : roots)
            below = below || (path.size() > root.size() + 1 && path.compare(0, root.size(), root) == 0 && path[root.size()] == '/');
        if (!below || access(path.c_str(), W_OK) != 0)
            std::abort();
        for (std::size_t j = 0; j < i; ++j) {
            if (cards[j] == cards[i])
                std::abort();
        }
    }
    return 0;
}
