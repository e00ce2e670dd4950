#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace os {
class File;
}

namespace audio {

// The ID3v1 trailer of an audio file: "TAG" and a 125-byte body of 8-bit
// texts in the ANSI code page, a track byte and a genre byte.
class Id3Tag {
public:
    static constexpr std::size_t body_size = 125;

    // Reads the file's tag; a file without one leaves every field empty.
    explicit Id3Tag(const std::u16string& path);

    // Replaces the file's trailer, or appends one; the file is created when
    // missing. Texts too long for their field are cut.
    bool write(const std::u16string& path) const;

    std::u16string title;
    std::u16string artist;
    std::u16string album;
    std::u16string year;
    std::u16string comment;
    std::int32_t track = 0; // 0 when the tag holds none
    std::int32_t genre = 0;
    bool has_tag = false;
};

// The file offset just after the "TAG" of the trailer (128 bytes before the
// end), or -1.
std::int64_t id3_find_trailer(os::File& file);
// The trailer when there is one; otherwise the last "TAG" in the file's final
// 1000 bytes, for tags followed by something else. -1 when there is none.
std::int64_t id3_find_tag(os::File& file);
// A field's text without its trailing blanks and zero bytes, up to its first
// zero byte.
void id3_field_to_wide(std::u16string& destination, const std::uint8_t* bytes, std::size_t width);

}
