#include "audio/Id3Tag.h"

#include "liba/Conversion.h"
#include "os/File.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace audio {

namespace {

constexpr std::int64_t trailer_size = 128;
constexpr std::int64_t search_span = 1000;

struct Field {
    std::size_t offset;
    std::size_t width;
};

constexpr Field title_field { 0, 30 };
constexpr Field artist_field { 30, 30 };
constexpr Field album_field { 60, 30 };
constexpr Field year_field { 90, 4 };
constexpr Field comment_field { 94, 30 };
// The comment leaves its last two bytes to a zero and the track number.
constexpr std::size_t comment_with_track = 28;
constexpr std::size_t track_marker = 122;
constexpr std::size_t track_byte = 123;
constexpr std::size_t genre_byte = 124;

bool is_tag_id(const std::uint8_t* bytes)
{
    return std::memcmp(bytes, "TAG", 3) == 0;
}

void put_field(std::array<std::uint8_t, Id3Tag::body_size>& body, std::size_t offset, std::size_t width,
    const std::u16string& text)
{
    std::string narrow;
    liba::wide_to_narrow(text.data(), text.data() + text.size(), narrow);
    std::memcpy(body.data() + offset, narrow.data(), std::min(width, narrow.size()));
}

}

std::int64_t id3_find_trailer(os::File& file)
{
    auto size = static_cast<std::int64_t>(file.size());
    std::uint8_t id[3];
    if (size < trailer_size || !file.seek(std::uint64_t(size - trailer_size)) || file.read(id, 3) != 3)
        return -1;
    return is_tag_id(id) ? size - trailer_size + 3 : -1;
}

std::int64_t id3_find_tag(os::File& file)
{
    // The trailer first, so that a "TAG" inside its texts (a title "STAGE")
    // is never taken for its start.
    if (std::int64_t trailer = id3_find_trailer(file); trailer >= 0)
        return trailer;
    auto size = static_cast<std::int64_t>(file.size());
    std::int64_t span = std::min(size, search_span);
    if (span < 3 || !file.seek(std::uint64_t(size - span)))
        return -1;
    std::vector<std::uint8_t> tail(static_cast<std::size_t>(span));
    if (file.read(tail.data(), tail.size()) != tail.size())
        return -1;
    for (std::size_t i = tail.size() - 3;; --i) {
        if (is_tag_id(&tail[i]))
            return size - span + std::int64_t(i) + 3;
        if (i == 0)
            return -1;
    }
}

void id3_field_to_wide(std::u16string& destination, const std::uint8_t* bytes, std::size_t width)
{
    while (width > 0 && (bytes[width - 1] == 0 || bytes[width - 1] == ' '))
        --width;
    auto begin = reinterpret_cast<const char*>(bytes);
    auto end = std::find(begin, begin + width, '\0');
    destination.clear();
    liba::narrow_to_wide(begin, end, destination);
}

Id3Tag::Id3Tag(const std::u16string& path)
{
    os::File file(path, os::File::Mode::read);
    if (!file.is_ok())
        return;
    std::int64_t offset = id3_find_tag(file);
    std::array<std::uint8_t, body_size> body;
    if (offset < 0 || !file.seek(std::uint64_t(offset)) || file.read(body.data(), body.size()) != body.size())
        return;
    if (body[track_marker] == 0 && body[track_byte] != 0)
        track = body[track_byte];
    id3_field_to_wide(title, body.data() + title_field.offset, title_field.width);
    id3_field_to_wide(artist, body.data() + artist_field.offset, artist_field.width);
    id3_field_to_wide(album, body.data() + album_field.offset, album_field.width);
    id3_field_to_wide(year, body.data() + year_field.offset, year_field.width);
    id3_field_to_wide(comment, body.data() + comment_field.offset, comment_field.width);
    genre = body[genre_byte];
    has_tag = true;
}

bool Id3Tag::write(const std::u16string& path) const
{
    os::File file(path, os::File::Mode::read_write);
    if (!file.is_ok())
        return false;
    // Only the trailer is rewritten in place: a "TAG" met elsewhere may lie
    // inside the audio, which must not be overwritten.
    std::int64_t offset = id3_find_trailer(file);
    if (offset >= 0) {
        if (!file.seek(std::uint64_t(offset)))
            return false;
    } else if (!file.seek(file.size()) || file.write("TAG", 3) != 3) {
        return false;
    }
    std::array<std::uint8_t, body_size> body {};
    put_field(body, title_field.offset, title_field.width, title);
    put_field(body, artist_field.offset, artist_field.width, artist);
    put_field(body, album_field.offset, album_field.width, album);
    put_field(body, year_field.offset, year_field.width, year);
    put_field(body, comment_field.offset, comment_with_track, comment);
    body[track_byte] = static_cast<std::uint8_t>(track);
    body[genre_byte] = static_cast<std::uint8_t>(genre);
    return file.write(body.data(), body.size()) == body.size();
}

}
