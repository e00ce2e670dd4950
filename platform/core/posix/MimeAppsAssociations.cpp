#include "platform/core/posix/MimeAppsAssociations.h"

#include "platform/core/AtomicFile.h"
#include "platform/core/Folders.h"
#include "platform/core/Utf8.h"
#include "platform/core/Win32Error.h"
#include "platform/core/posix/PosixFile.h"

#include <cerrno>
#include <fstream>
#include <optional>
#include <sys/stat.h>
#include <vector>

namespace platform {

namespace {

struct MimeType {
    std::u16string_view extension;
    std::string_view type;
};

// The types this program plays and opens.
constexpr MimeType mime_types[] = {
    { u"wav", "audio/x-wav" },
    { u"mp3", "audio/mpeg" },
    { u"m3u", "audio/x-mpegurl" },
    { u"ogg", "audio/ogg" },
    { u"wma", "audio/x-ms-wma" },
};

constexpr std::u16string_view own_entry = u"orvanta.desktop";
constexpr std::string_view default_group = "[Default Applications]";
// A bigger file is not ours to rewrite.
constexpr std::streamoff largest_list = 1 << 20;

std::string trimmed(std::string_view text)
{
    const auto blank = " \t\r";
    const auto first = text.find_first_not_of(blank);
    if (first == std::string_view::npos)
        return {};
    return std::string(text.substr(first, text.find_last_not_of(blank) - first + 1));
}

bool is_group_header(std::string_view line)
{
    const std::string text = trimmed(line);
    return text.size() >= 2 && text.front() == '[' && text.back() == ']';
}

// The key of a "key=value" line, or none.
std::optional<std::string> key_of(std::string_view line)
{
    const std::string text = trimmed(line);
    const auto equals = text.find('=');
    if (text.empty() || text.front() == '#' || equals == std::string::npos)
        return std::nullopt;
    return trimmed(std::string_view(text).substr(0, equals));
}

// What may stand as a key or value of one line: no line breaks or other controls.
bool fits_a_line(std::string_view text)
{
    for (unsigned char c : text) {
        if (c < 0x20 || c == 0x7F)
            return false;
    }
    return true;
}

bool is_mime_type(std::string_view type)
{
    const auto slash = type.find('/');
    if (slash == 0 || slash == std::string_view::npos || slash + 1 == type.size() || !fits_a_line(type))
        return false;
    return type.find_first_of(" =[];") == std::string_view::npos;
}

std::string list_path()
{
    const std::string config = to_utf8(special_folder(SpecialFolder::Config));
    return config.empty() ? config : config + "/mimeapps.list";
}

// The file's lines, none for a missing file; nothing when it cannot be read whole.
std::optional<std::vector<std::string>> read_lines(const std::string& path)
{
    std::vector<std::string> lines;

    struct stat st { };

    if (stat(path.c_str(), &st) != 0)
        return errno == ENOENT ? std::optional(lines) : std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!S_ISREG(st.st_mode) || st.st_size > largest_list || !in)
        return std::nullopt;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    if (in.bad())
        return std::nullopt;
    return lines;
}

// The first "[Default Applications]" group: its header's index and the end of its lines.
struct Group {
    std::size_t header;
    std::size_t end;
};

std::optional<Group> find_default_group(const std::vector<std::string>& lines)
{
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (trimmed(lines[i]) != default_group)
            continue;
        std::size_t end = i + 1;
        while (end < lines.size() && !is_group_header(lines[end]))
            ++end;
        return Group { i, end };
    }
    return std::nullopt;
}

std::optional<std::string> read_default(const std::string& type)
{
    const auto lines = read_lines(list_path());
    if (!lines)
        return std::nullopt;
    const auto group = find_default_group(*lines);
    for (std::size_t i = group ? group->header + 1 : 0; group && i < group->end; ++i) {
        if (key_of((*lines)[i]) == type) {
            const std::string& line = (*lines)[i];
            return trimmed(std::string_view(line).substr(line.find('=') + 1));
        }
    }
    return std::nullopt;
}

// Sets the type's line in the group (later lines for the same type go),
// adding the line, or the group, when missing.
void set_default(std::vector<std::string>& lines, const std::string& type, const std::string& entry)
{
    const std::string line = type + "=" + entry;
    auto group = find_default_group(lines);
    if (!group) {
        if (!lines.empty() && !trimmed(lines.back()).empty())
            lines.emplace_back();
        lines.emplace_back(default_group);
        lines.push_back(line);
        return;
    }
    std::optional<std::size_t> found;
    std::size_t last_used = group->header;
    for (std::size_t i = group->header + 1; i < group->end;) {
        if (key_of(lines[i]) != type) {
            if (!trimmed(lines[i]).empty())
                last_used = i;
            ++i;
        } else if (found) {
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
            --group->end;
        } else {
            lines[i] = line;
            found = i++;
        }
    }
    if (!found)
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(last_used + 1), line);
}

bool write_lines(const std::string& path, const std::vector<std::string>& lines)
{
    std::string bytes;
    for (const auto& line : lines)
        bytes += line + "\n";
    return posix::make_folders(posix::folder_of(path)) && write_file_atomically(from_utf8(path), bytes) == error_success;
}

// One argument of an Exec line: quoted, with the characters that are
// special inside the quotes escaped, then escaped again as a string value.
std::string exec_argument(std::string_view argument)
{
    std::string quoted = "\"";
    for (char c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            quoted += '\\';
        quoted += c == '%' ? std::string("%%") : std::string(1, c);
    }
    quoted += '"';
    std::string value;
    for (char c : quoted)
        value += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return value;
}

bool ensure_own_entry()
{
    const std::string applications = to_utf8(special_folder(SpecialFolder::Programs));
    const std::string program = to_utf8(executable_path());
    if (applications.empty() || program.empty() || !fits_a_line(program))
        return false;
    const std::string path = applications + "/" + to_utf8(own_entry);

    struct stat st { };

    if (lstat(path.c_str(), &st) == 0)
        return true;
    std::string types;
    for (const auto& mime : mime_types)
        types += std::string(mime.type) + ";";
    const std::string entry = "[Desktop Entry]\n"
                              "Type=Application\n"
                              "Name=Orvanta\n"
                              "Exec="
        + exec_argument(program) + " %f\n"
        + "Terminal=false\n"
          "MimeType="
        + types + "\n";
    return posix::make_folders(applications) && write_file_atomically(from_utf8(path), entry) == error_success;
}

}

bool MimeAppsAssociations::read_type(std::u16string_view extension, std::u16string& type)
{
    for (const auto& mime : mime_types) {
        if (mime.extension == extension) {
            type = from_utf8(mime.type);
            return true;
        }
    }
    return false;
}

bool MimeAppsAssociations::write_type(std::u16string_view extension, std::u16string_view type)
{
    // The shared MIME database decides; only what it already says can be written.
    std::u16string known;
    return read_type(extension, known) && known == type;
}

bool MimeAppsAssociations::write_description(std::u16string_view type, std::u16string_view)
{
    return is_mime_type(to_utf8(type));
}

bool MimeAppsAssociations::read_command(std::u16string_view type, std::u16string& command)
{
    const std::string key = to_utf8(type);
    if (!is_mime_type(key))
        return false;
    const auto entry = read_default(key);
    if (!entry || entry->empty())
        return false;
    command = from_utf8(*entry);
    return true;
}

bool MimeAppsAssociations::write_command(std::u16string_view type, std::u16string_view command)
{
    const std::string key = to_utf8(type), entry = to_utf8(command);
    if (!is_mime_type(key) || !fits_a_line(entry))
        return false;
    if (command == own_entry && !ensure_own_entry())
        return false;
    const std::string path = list_path();
    auto lines = path.empty() ? std::nullopt : read_lines(path);
    if (!lines)
        return false;
    set_default(*lines, key, trimmed(entry));
    return write_lines(path, *lines);
}

bool MimeAppsAssociations::read_icon(std::u16string_view, std::u16string&)
{
    return false;
}

bool MimeAppsAssociations::write_icon(std::u16string_view type, std::u16string_view)
{
    return is_mime_type(to_utf8(type));
}

std::u16string MimeAppsAssociations::own_command() const
{
    return std::u16string(own_entry);
}

std::u16string MimeAppsAssociations::own_icon() const
{
    return {};
}

ServiceSlot<FileAssociations>& file_associations_slot()
{
    static ServiceSlot<FileAssociations> slot(make_backend<FileAssociations, MimeAppsAssociations>);
    return slot;
}

}
