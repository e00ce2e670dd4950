#include "playlist/ListM3U.h"

#include "liba/Conversion.h"
#include "liba/TextFile.h"
#include "os/File.h"
#include "os/FileSystem.h"
#include "playlist/TimeText.h"

namespace playlist {

namespace {

constexpr std::u16string_view header_line = u"#EXTM3U";
constexpr std::u16string_view info_tag = u"#EXTINF";
// Enough for the header line: larger files of other kinds are not read whole.
constexpr std::uint64_t sniff_bytes = 100;
constexpr std::uint64_t max_bytes = 0x7FFFFFFF;

bool starts_with_header(const std::u16string& text, const char16_t*& position)
{
    std::u16string line;
    position = liba::read_line(line, text.data(), text.data() + text.size());
    return line == header_line;
}

// "#EXTINF:<duration>,<title>"; the title is not kept.
bool parse_info(std::u16string_view line, double& duration)
{
    std::size_t colon = line.find(u':');
    if (colon == std::u16string_view::npos)
        return false;
    std::size_t comma = line.find(u',', colon + 1);
    if (comma == std::u16string_view::npos || line.substr(0, colon) != info_tag)
        return false;
    duration = -1.0;
    parse_number(line.substr(colon + 1, comma - colon - 1), duration);
    return true;
}

void append_utf16le(std::string& bytes, std::u16string_view text)
{
    for (char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
}

}

ListM3U::ListM3U() = default;

ListM3U::ListM3U(const std::u16string& path)
    : List(u"m3u")
{
    read(path);
}

void ListM3U::read(const std::u16string& path)
{
    os::File file(path, os::File::Mode::read);
    if (!file.is_ok())
        return;
    const char16_t* p = nullptr;
    if (!starts_with_header(liba::read_text_file(file, sniff_bytes), p) || !file.seek(0))
        return;
    std::u16string text = liba::read_text_file(file, max_bytes);
    if (!starts_with_header(text, p))
        return;
    const char16_t* end = text.data() + text.size();
    std::u16string info, media;
    while (p != end) {
        p = liba::read_line(info, p, end);
        Entry entry;
        if (!parse_info(info, entry.duration))
            return;
        p = liba::read_line(media, p, end);
        entry.path = media;
        m_entries.push_back(std::move(entry));
    }
    m_loaded = true;
}

bool ListM3U::save(const std::u16string& path)
{
    std::string bytes = "\xFF\xFE";
    append_utf16le(bytes, u"#EXTM3U\n");
    for (const Entry& entry : m_entries) {
        if (entry.path.find_first_of(u"\r\n") != std::u16string::npos)
            return false;
        append_utf16le(bytes, u"#EXTINF:");
        append_utf16le(bytes, scaled_int_text(entry.duration, 1));
        append_utf16le(bytes, u",\n");
        append_utf16le(bytes, entry.path);
        append_utf16le(bytes, u"\n");
    }
    return os::write_file_atomically(path, bytes);
}

}
