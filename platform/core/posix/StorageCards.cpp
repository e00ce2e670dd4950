#include "platform/core/StorageCards.h"

#include "platform/core/Utf8.h"

#include <fstream>
#include <mutex>
#include <sstream>
#include <unistd.h>

namespace platform {

namespace {

std::mutex source_lock;
std::string table = "/proc/self/mounts";
std::vector<std::string> roots = { "/media", "/mnt" };

// The table writes space, tab, newline and backslash as \ooo.
std::string unescape(const std::string& field)
{
    auto octal = [&](size_t k) { return k < field.size() && field[k] >= '0' && field[k] <= '7'; };
    std::string out;
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && octal(i + 1) && octal(i + 2) && octal(i + 3)) {
            out += static_cast<char>(
                (field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0'));
            i += 3;
        } else {
            out += field[i];
        }
    }
    return out;
}

bool below(const std::string& path, const std::string& root)
{
    return path.size() > root.size() + 1 && path.compare(0, root.size(), root) == 0
        && path[root.size()] == '/';
}

}

std::vector<std::u16string> storage_cards()
{
    std::string table_path;
    std::vector<std::string> wanted;
    {
        std::lock_guard guard(source_lock);
        table_path = table;
        wanted = roots;
    }
    std::vector<std::u16string> cards;
    std::ifstream in(table_path);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string device, mount_point;
        if (!(fields >> device >> mount_point))
            continue;
        mount_point = unescape(mount_point);
        bool listed = false;
        for (auto& root : wanted)
            listed = listed || below(mount_point, root);
        if (!listed || access(mount_point.c_str(), W_OK) != 0)
            continue;
        auto card = from_utf8(mount_point);
        bool seen = false;
        for (auto& c : cards)
            seen = seen || c == card;
        if (!seen)
            cards.push_back(std::move(card));
    }
    return cards;
}

void set_mount_source(std::string table_path, std::vector<std::string> mount_roots)
{
    std::lock_guard guard(source_lock);
    table = std::move(table_path);
    roots = std::move(mount_roots);
}

}
