#include "platform/core/RuntimeDirectory.h"

#include "platform/core/Utf8.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

bool private_folder(const std::string& path)
{
    if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST)
        return false;
    struct stat st;
    if (lstat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != geteuid())
        return false;
    return (st.st_mode & 077) == 0;
}

// FNV-1a over the bytes in hexadecimal, ASCII letters folded when asked.
std::string hash_text(std::string_view bytes, bool fold)
{
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (unsigned char c : bytes) {
        if (fold && c >= 'A' && c <= 'Z')
            c = static_cast<unsigned char>(c - 'A' + 'a');
        hash = (hash ^ c) * 0x100000001b3ull;
    }
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    return hex;
}

}

std::string runtime_directory()
{
    const char* base = std::getenv("XDG_RUNTIME_DIR");
    std::string path;
    if (base && *base == '/')
        path = std::string(base) + "/orvanta";
    else
        path = "/tmp/orvanta-" + std::to_string(geteuid());
    return private_folder(path) ? path : std::string();
}

std::string runtime_file(std::string_view prefix, std::u16string_view name)
{
    std::string dir = runtime_directory();
    if (dir.empty())
        return dir;
    return dir + "/" + std::string(prefix) + hash_text(to_utf8(name), true);
}

}
