#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace platform {

// What a font is asked for.
struct LogFont {
    // Below 0: the characters' height in pixels (the em); above 0: the cell
    // height (ascent plus descent); 0: the default of 12 pixels.
    std::int32_t height = 0;
    std::int32_t weight = 400; // 700 and above, and from 600, draw bold
    bool italic = false;
    bool underline = false;
    std::u16string face; // family name, compared without case
};

// A realised font: a FreeType face at one pixel size. A face that no font
// file provides falls back to DejaVu Sans; a style the file lacks (bold,
// italic) is made from the regular outline. Glyphs are rendered once and kept,
// also on a const font (the cache is not the font's value).
// GUI thread only (as every drawing object).
class Font {
public:
    // Null when the height is beyond 2048 pixels or no font file can be had.
    static std::unique_ptr<Font> create(const LogFont&);
    // The font of a device context that has none selected: 12 px "Tahoma".
    static const Font& system();

    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    const LogFont& log_font() const { return m_log; }
    // The family of the file in use (e.g. "DejaVu Sans" when the face was missing).
    const std::string& family() const { return m_family; }
    std::int32_t ascent() const { return m_ascent; }
    std::int32_t descent() const { return m_descent; }
    std::int32_t line_height() const { return m_ascent + m_descent; }

    struct Glyph {
        std::int32_t left = 0; // ink offset from the pen position
        std::int32_t top = 0; // ink rows above the baseline
        std::int32_t width = 0;
        std::int32_t height = 0;
        std::int32_t advance = 0;
        std::vector<std::uint8_t> coverage; // width x height, 0..255
    };
    // Glyph of a code point; control characters have no ink and no advance.
    const Glyph& glyph(char32_t) const;

    // One line laid out: pen positions and the box holding every advance and
    // every ink pixel. Drawing at x puts the pen of the first glyph at
    // x + origin, so ink never leaves [x, x + width).
    struct Line {
        std::vector<std::pair<const Glyph*, std::int32_t>> glyphs; // pen x from the origin
        std::int32_t origin = 0;
        std::int32_t width = 0;
        std::int32_t advance = 0; // where the pen ends, from the origin
    };
    Line layout(std::u16string_view text) const;
    std::int32_t width(std::u16string_view text) const { return layout(text).width; }
    // width(text.substr(0, i + 1)) for every i, in one pass; the first unit of
    // a surrogate pair measures as the text before it.
    std::vector<std::int32_t> prefix_widths(std::u16string_view text) const;

    // Underline rows, from the cell's top.
    std::int32_t underline_top() const { return m_underline_top; }
    std::int32_t underline_height() const { return m_underline_height; }

private:
    struct Face;
    Font(const LogFont&, std::unique_ptr<Face>);

    LogFont m_log;
    std::unique_ptr<Face> m_face;
    std::string m_family;
    std::int32_t m_ascent = 0;
    std::int32_t m_descent = 0;
    std::int32_t m_underline_top = 0;
    std::int32_t m_underline_height = 1;
    mutable std::unordered_map<char32_t, Glyph> m_glyphs;
};

// A font file of our own for a face name, found before fontconfig (tests pin
// their font this way). False when the file cannot be opened as a font.
bool register_font_file(std::u16string_view face, const std::string& path, bool bold = false, bool italic = false);

}
