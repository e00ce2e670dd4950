#pragma once

#include <string>
#include <string_view>

namespace liba {

template<typename Char>
class TextOStream;

// A wide text output stream. Each operator makes its whole text first and
// hands it to write() in one call; a failed conversion writes nothing.
template<>
class TextOStream<char16_t> {
public:
    virtual ~TextOStream() = default;
    // Writes the characters of [begin, end), nothing added.
    virtual void write(const char16_t* begin, const char16_t* end) = 0;
    virtual void flush() = 0;

    // "%f": six digits after the point.
    TextOStream& operator<<(double value);
    // 8-bit text in the ANSI code page.
    TextOStream& operator<<(const char* text);
    TextOStream& operator<<(const char16_t* text);
    TextOStream& operator<<(std::u16string_view text);
};

// "%d".
TextOStream<char16_t>& operator<<(TextOStream<char16_t>& stream, int value);
// "%u", for tick counts.
TextOStream<char16_t>& operator<<(TextOStream<char16_t>& stream, unsigned value);

template<typename Char>
class TextOStreamEmpty;

// Swallows everything.
template<>
class TextOStreamEmpty<char16_t> final : public TextOStream<char16_t> {
public:
    void write(const char16_t*, const char16_t*) override { }
    void flush() override { }
};

}
