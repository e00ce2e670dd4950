// Loads a hostile store file, then checks that what was understood of it
// survives a write and a reload unchanged.
#include "platform/core/RegistryStore.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

// Removed when the run ends, with what the store made in it.
std::string folder()
{
    static const std::string path = [] {
        std::string base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        // Made before the handler is registered, so it is destroyed after the handler ran.
        static const std::string made = base + "/orvanta-fuzz-registry-" + std::to_string(getpid());
        std::atexit([] { std::filesystem::remove_all(made); });
        return made;
    }();
    return path;
}

std::string read(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string file = folder() + "/registry";
    std::remove(file.c_str());
    {
        std::FILE* f = std::fopen(file.c_str(), "wb");
        if (!f) {
            platform::RegistryStore make(file);
            make.create_key(platform::RegistryRoot::users, u"x"); // makes the folder
            f = std::fopen(file.c_str(), "wb");
            if (!f)
                return 0;
        }
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    using platform::RegistryRoot;
    platform::RegistryStore first(file);
    first.sub_keys(RegistryRoot::current_user, u"Software");
    first.get_value(RegistryRoot::current_user, u"Software\\Qiro", u"Log");
    // A key the input does not hold, so that creating it rewrites the file.
    std::u16string fresh = u"fuzz";
    while (first.key_exists(RegistryRoot::users, fresh))
        fresh += u'+';
    if (!first.create_key(RegistryRoot::users, fresh))
        return 0;
    const std::string written = read(file);

    platform::RegistryStore second(file);
    if (!second.key_exists(RegistryRoot::users, fresh) || second.key_exists(RegistryRoot::users, fresh + u"\\again"))
        std::abort();
    if (!second.create_key(RegistryRoot::users, fresh + u"\\again"))
        std::abort();
    std::string rewritten = read(file);
    const std::string extra = "\n[HKEY_USERS\\" + std::string(fresh.begin(), fresh.end()) + "\\again]\n";
    const auto at = rewritten.find(extra);
    if (at == std::string::npos)
        std::abort();
    rewritten.erase(at + 1, extra.size() - 1);
    if (rewritten != written)
        std::abort();
    return 0;
}
