// Reads the input as the environment the program reads (NUL-separated values of the
// variables below): the screen, the zoom and the folders it gives are within their limits.
// The runtime folder is made, so its variable is kept inside a folder of our own.
#include "platform/core/Folders.h"
#include "platform/core/RegistryStore.h"
#include "platform/core/RuntimeDirectory.h"
#include "platform/ui/Display.h"
#include "platform/ui/Zoom.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* variables[] = { "ORVANTA_SCREEN", "ORVANTA_ZOOM", "HOME", "XDG_CONFIG_HOME",
    "XDG_DATA_HOME", "XDG_DOCUMENTS_DIR", "XDG_RUNTIME_DIR" };

const std::string& sandbox()
{
    static const std::string path = [] {
        std::string base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        // Made before the handler is registered, so it is destroyed after the handler ran.
        static const std::string made = base + "/orvanta-fuzz-environment-" + std::to_string(getpid());
        mkdir(made.c_str(), 0700);
        std::atexit([] { std::filesystem::remove_all(made); });
        unsetenv("ORVANTA_REGISTRY_FILE");
        unsetenv("ORVANTA_APP_PATH");
        return made;
    }();
    return path;
}

void check_folder(const std::u16string& folder)
{
    if (folder.size() > 1 && folder.back() == u'/')
        std::abort();
}

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    for (const char* name : variables) {
        const std::size_t end = std::min(rest.find('\0'), rest.size());
        std::string value(rest.substr(0, end));
        rest.remove_prefix(std::min(end + 1, rest.size()));
        if (std::string_view(name) == "XDG_RUNTIME_DIR") {
            for (char& c : value)
                if (c == '.')
                    c = '_'; // never out of the sandbox
            value = sandbox() + "/" + value;
        }
        setenv(name, value.c_str(), 1);
    }
    const platform::ScreenMode mode = platform::screen_mode_from_environment();
    if (mode.size.width < 64 || mode.size.height < 64 || mode.size.width > 4096 || mode.size.height > 4096
        || mode.dpi < 48 || mode.dpi > 480)
        std::abort();
    if (const char* zoom = std::getenv("ORVANTA_ZOOM"))
        if (auto z = platform::parse_zoom(zoom); z && (*z < 1 || *z > 8))
            std::abort();
    for (auto folder : { platform::SpecialFolder::Documents, platform::SpecialFolder::System,
             platform::SpecialFolder::Startup, platform::SpecialFolder::Programs, platform::SpecialFolder::Config })
        check_folder(platform::special_folder(folder));
    (void)platform::default_registry_file();
    const std::string runtime = platform::runtime_directory();
    if (!runtime.empty() && runtime.rfind(sandbox() + "/", 0) != 0 && runtime.rfind("/tmp/orvanta-", 0) != 0)
        std::abort();
    return 0;
}
