#include "os/TextOStreamFile.h"

#include <string>

namespace os {

TextOStreamFile<char16_t>::TextOStreamFile(std::u16string_view path)
    : m_file(path, File::Mode::write)
{
    static constexpr unsigned char mark[] = { 0xFF, 0xFE };
    m_file.write(mark, sizeof mark);
}

void TextOStreamFile<char16_t>::write(const char16_t* begin, const char16_t* end)
{
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(end - begin) * 2);
    for (const char16_t* c = begin; c != end; ++c) {
        bytes += static_cast<char>(*c & 0xFF);
        bytes += static_cast<char>(*c >> 8);
    }
    m_file.write(bytes.data(), bytes.size());
}

void TextOStreamFile<char16_t>::flush() { m_file.flush(); }

}
