#include "platform/core/Folders.h"

#include "platform/core/Utf8.h"

#include <cstdlib>
#include <fstream>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace platform {

namespace {

std::string environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string without_trailing_slash(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

std::string home_folder()
{
    std::string home = environment("HOME");
    if (!home.empty())
        return without_trailing_slash(home);
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir)
        return without_trailing_slash(pw->pw_dir);
    return {};
}

// An XDG base folder: the variable when it holds an absolute path, else the default under $HOME.
std::string base_folder(const char* variable, const char* fallback)
{
    std::string value = environment(variable);
    if (!value.empty() && value[0] == '/')
        return without_trailing_slash(value);
    std::string home = home_folder();
    return home.empty() ? std::string() : home + "/" + fallback;
}

// XDG_DOCUMENTS_DIR from user-dirs.dirs, as xdg-user-dir reads it:
// a quoted absolute path or one that begins with $HOME.
std::string documents_folder()
{
    std::string home = home_folder();
    std::string config = base_folder("XDG_CONFIG_HOME", ".config");
    std::ifstream dirs(config + "/user-dirs.dirs");
    std::string line, found = environment("XDG_DOCUMENTS_DIR");
    const std::string key = "XDG_DOCUMENTS_DIR=\"";
    while (std::getline(dirs, line)) {
        if (line.compare(0, key.size(), key) != 0)
            continue;
        size_t close = line.find('"', key.size());
        if (close == std::string::npos)
            continue;
        std::string value = line.substr(key.size(), close - key.size());
        if (value.compare(0, 5, "$HOME") == 0 && (value.size() == 5 || value[5] == '/'))
            value = home + value.substr(5);
        if (!value.empty() && value[0] == '/')
            found = value;
    }
    if (found.empty() || found[0] != '/')
        return home;
    return without_trailing_slash(found);
}

std::string read_link(const char* path)
{
    std::vector<char> buffer(1024);
    for (;;) {
        ssize_t n = readlink(path, buffer.data(), buffer.size());
        if (n < 0)
            return {};
        if (static_cast<size_t>(n) < buffer.size())
            return std::string(buffer.data(), static_cast<size_t>(n));
        buffer.resize(buffer.size() * 2);
    }
}

std::string inside(const std::string& folder, const char* name)
{
    return folder.empty() ? folder : folder + "/" + name;
}

std::string parent(const std::string& path)
{
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return {};
    return slash == 0 ? "/" : path.substr(0, slash);
}

}

std::u16string executable_path()
{
    std::string exe = read_link("/proc/self/exe");
    std::string overridden = without_trailing_slash(environment("ORVANTA_APP_PATH"));
    if (!overridden.empty() && !exe.empty())
        exe = (overridden == "/" ? "" : overridden) + exe.substr(exe.find_last_of('/'));
    return from_utf8(exe);
}

std::u16string special_folder(SpecialFolder folder)
{
    std::string path;
    switch (folder) {
    case SpecialFolder::Documents:
        path = documents_folder();
        break;
    case SpecialFolder::System:
        path = inside(base_folder("XDG_DATA_HOME", ".local/share"), "orvanta");
        break;
    case SpecialFolder::Startup:
        path = inside(base_folder("XDG_CONFIG_HOME", ".config"), "autostart");
        break;
    case SpecialFolder::Programs:
    case SpecialFolder::StartMenu:
        path = inside(base_folder("XDG_DATA_HOME", ".local/share"), "applications");
        break;
    case SpecialFolder::ProgramFiles:
        path = parent(parent(to_utf8(executable_path())));
        break;
    case SpecialFolder::Config:
        path = base_folder("XDG_CONFIG_HOME", ".config");
        break;
    }
    return from_utf8(path);
}

}
