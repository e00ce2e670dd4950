#include "liba/TextOStream.h"

#include "liba/Conversion.h"

#include <cstring>

namespace liba {

namespace {

void write_text(TextOStream<char16_t>& stream, std::u16string_view text)
{
    stream.write(text.data(), text.data() + text.size());
}

}

TextOStream<char16_t>& TextOStream<char16_t>::operator<<(double value)
{
    std::u16string text;
    if (format_double(value, text))
        write_text(*this, text);
    return *this;
}

TextOStream<char16_t>& TextOStream<char16_t>::operator<<(const char* text)
{
    std::u16string wide;
    if (text && ansi_to_wide(text, std::strlen(text), wide))
        write_text(*this, wide);
    return *this;
}

TextOStream<char16_t>& TextOStream<char16_t>::operator<<(const char16_t* text)
{
    if (text)
        write_text(*this, text);
    return *this;
}

TextOStream<char16_t>& TextOStream<char16_t>::operator<<(std::u16string_view text)
{
    write_text(*this, text);
    return *this;
}

TextOStream<char16_t>& operator<<(TextOStream<char16_t>& stream, int value)
{
    std::u16string text;
    if (format_int(value, text))
        write_text(stream, text);
    return stream;
}

TextOStream<char16_t>& operator<<(TextOStream<char16_t>& stream, unsigned value)
{
    std::u16string text;
    if (format_long(static_cast<long>(value), text))
        write_text(stream, text);
    return stream;
}

}
