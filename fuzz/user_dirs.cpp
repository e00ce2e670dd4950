// Reads the input as the user's user-dirs.dirs: the documents folder is an
// absolute path without a trailing separator, $HOME when the file names none.
#include "platform/core/Folders.h"
#include "platform/core/Utf8.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A home and a config folder of our own, in memory where there is one.
const std::string& config_file()
{
    static const std::string path = [] {
        std::string base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        std::string home = base + "/orvanta-fuzz-home-" + std::to_string(getpid());
        mkdir(home.c_str(), 0700);
        static const std::string made = home;
        std::atexit([] { std::filesystem::remove_all(made); });
        mkdir((home + "/.config").c_str(), 0700);
        setenv("HOME", home.c_str(), 1);
        unsetenv("XDG_CONFIG_HOME");
        unsetenv("XDG_DOCUMENTS_DIR");
        return home + "/.config/user-dirs.dirs";
    }();
    return path;
}

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (FILE* f = std::fopen(config_file().c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    std::string folder = platform::to_utf8(platform::special_folder(platform::SpecialFolder::Documents));
    if (folder.empty() || folder[0] != '/' || (folder.size() > 1 && folder.back() == '/'))
        std::abort();
    return 0;
}
