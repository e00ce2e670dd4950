// Takes the input as the user's mimeapps.list and makes the program the
// handler of a type and gives it back, as the settings do. The command reads
// back as written, and every line that is not the type's own default stays,
// in its order; a file that cannot be rewritten stays as it was.
#include "platform/core/Folders.h"
#include "platform/core/Utf8.h"
#include "platform/core/posix/MimeAppsAssociations.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

std::string base_folder()
{
    static const std::string path = [] {
        std::string base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        std::string root = base + "/orvanta-fuzz-mime-" + std::to_string(getpid());
        static const std::string made = root;
        std::atexit([] { std::filesystem::remove_all(made); });
        for (const char* sub : { "", "/config", "/data", "/data/applications" })
            mkdir((root + sub).c_str(), 0700);
        setenv("XDG_CONFIG_HOME", (root + "/config").c_str(), 1);
        setenv("XDG_DATA_HOME", (root + "/data").c_str(), 1);
        return root;
    }();
    return path;
}

std::string read(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::string> lines_of(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::string trimmed(const std::string& text)
{
    auto first = text.find_first_not_of(" \t\r");
    return first == std::string::npos ? std::string() : text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// The lines that are not the type's own inside the first default group.
std::vector<std::string> others(const std::vector<std::string>& lines, const std::string& type)
{
    std::vector<std::string> kept;
    bool in_group = false, seen_group = false;
    for (const std::string& line : lines) {
        std::string text = trimmed(line);
        bool header = text.size() >= 2 && text.front() == '[' && text.back() == ']';
        if (header) {
            in_group = !seen_group && text == "[Default Applications]";
            seen_group = seen_group || in_group;
        }
        auto equals = text.find('=');
        bool own = in_group && !header && !text.empty() && text[0] != '#' && equals != std::string::npos
            && trimmed(text.substr(0, equals)) == type;
        if (!own)
            kept.push_back(line);
    }
    return kept;
}

bool keeps_in_order(const std::vector<std::string>& before, const std::vector<std::string>& after)
{
    std::size_t at = 0;
    for (const std::string& line : after) {
        if (at < before.size() && line == before[at])
            ++at;
    }
    return at == before.size();
}

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string list = base_folder() + "/config/mimeapps.list";
    const std::string input(reinterpret_cast<const char*>(data), size);
    if (FILE* f = std::fopen(list.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    platform::MimeAppsAssociations associations;
    const std::u16string type = size % 2 ? u"audio/mpeg" : u"audio/x-wav";
    std::u16string previous;
    const bool had = associations.read_command(type, previous);

    if (!associations.write_command(type, associations.own_command())) {
        if (read(list) != input)
            std::abort();
        return 0;
    }
    std::u16string now;
    if (!associations.read_command(type, now) || now != associations.own_command())
        std::abort();
    const std::string key = platform::to_utf8(type);
    if (!keeps_in_order(others(lines_of(input), key), lines_of(read(list))))
        std::abort();

    if (had && associations.write_command(type, previous)) {
        if (!associations.read_command(type, now) || now != previous)
            std::abort();
    }
    return 0;
}
