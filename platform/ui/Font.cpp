#include "platform/ui/Font.h"

#include "platform/core/Utf8.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <mutex>
#include <optional>

namespace platform {

namespace {

constexpr std::int32_t default_em = 12;
constexpr std::int32_t max_height = 2048;
constexpr char wine_fonts[] = "/usr/share/wine/fonts";
constexpr char fallback_family[] = "DejaVu Sans";

FT_Library library()
{
    static FT_Library lib = [] {
        FT_Library l = nullptr;
        if (FT_Init_FreeType(&l) != 0)
            return FT_Library(nullptr);
        return l;
    }();
    return lib;
}

std::string fold(std::string_view s)
{
    std::string r(s);
    for (auto& c : r)
        c = (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
    return r;
}

struct FontFile {
    std::string path;
    int index = 0;
    std::string family;
};

struct OwnKey {
    std::string face;
    bool bold;
    bool italic;
    auto operator<=>(const OwnKey&) const = default;
};

std::map<OwnKey, FontFile>& own_fonts()
{
    static std::map<OwnKey, FontFile> fonts;
    return fonts;
}

std::optional<FontFile> find_own(const std::string& face, bool bold, bool italic)
{
    auto& fonts = own_fonts();
    std::string key = fold(face);
    for (auto [b, i] : { std::pair { bold, italic }, { bold, false }, { false, italic }, { false, false } }) {
        auto it = fonts.find({ key, b, i });
        if (it != fonts.end())
            return it->second;
    }
    return std::nullopt;
}

FcConfig* fontconfig()
{
    static FcConfig* config = [] {
        if (!FcInit())
            return static_cast<FcConfig*>(nullptr);
        FcConfig* c = FcConfigGetCurrent();
        FcConfigAppFontAddDir(c, reinterpret_cast<const FcChar8*>(wine_fonts));
        std::atexit(FcFini); // fontconfig keeps memory it frees only here
        return c;
    }();
    return config;
}

// The file fontconfig offers for the family; nullopt when its best match is
// another family (so the caller can fall back on purpose).
std::optional<FontFile> find_fontconfig(const std::string& family, bool bold, bool italic)
{
    FcConfig* config = fontconfig();
    if (!config)
        return std::nullopt;
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match)
        return std::nullopt;
    std::optional<FontFile> found;
    FcChar8* file = nullptr;
    FcChar8* matched_family = nullptr;
    int index = 0;
    if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch
        && FcPatternGetString(match, FC_FAMILY, 0, &matched_family) == FcResultMatch) {
        FcPatternGetInteger(match, FC_INDEX, 0, &index);
        std::string fam(reinterpret_cast<const char*>(matched_family));
        if (fold(fam) == fold(family))
            found = FontFile { reinterpret_cast<const char*>(file), index, fam };
    }
    FcPatternDestroy(match);
    return found;
}

std::optional<FontFile> find_font(const std::string& face, bool bold, bool italic)
{
    if (auto own = find_own(face, bold, italic))
        return own;
    if (!face.empty()) {
        if (auto file = find_fontconfig(face, bold, italic))
            return file;
    }
    if (auto own = find_own(fallback_family, bold, italic))
        return own;
    return find_fontconfig(fallback_family, bold, italic);
}

// The ascent and descent in font units, as the platform measures cells: the
// OS/2 table's Windows values when it has them.
std::pair<long, long> cell_units(FT_Face f)
{
    auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(f, FT_SFNT_OS2));
    if (os2 && os2->usWinAscent + os2->usWinDescent > 0)
        return { os2->usWinAscent, os2->usWinDescent };
    return { f->ascender, -f->descender };
}

}

struct Font::Face {
    FT_Face face = nullptr;
    bool embolden = false;
    bool slant = false;
    ~Face()
    {
        if (face)
            FT_Done_Face(face);
    }
};

bool register_font_file(std::u16string_view face, const std::string& path, bool bold, bool italic)
{
    FT_Face probe = nullptr;
    if (!library() || FT_New_Face(library(), path.c_str(), 0, &probe) != 0)
        return false;
    std::string family = probe->family_name ? probe->family_name : "";
    FT_Done_Face(probe);
    own_fonts()[{ fold(to_utf8(face)), bold, italic }] = FontFile { path, 0, family };
    return true;
}

std::unique_ptr<Font> Font::create(const LogFont& log)
{
    if (log.height > max_height || log.height < -max_height || !library())
        return nullptr;
    bool bold = log.weight >= 600;
    auto file = find_font(to_utf8(log.face), bold, log.italic);
    if (!file)
        return nullptr;
    auto face = std::make_unique<Face>();
    if (FT_New_Face(library(), file->path.c_str(), file->index, &face->face) != 0 || !FT_IS_SCALABLE(face->face))
        return nullptr;
    FT_Face f = face->face;
    std::int32_t em = default_em;
    if (log.height < 0)
        em = -log.height;
    else if (log.height > 0) {
        auto [up, down] = cell_units(f);
        double cell = double(up + down);
        em = cell > 0 ? std::max<std::int32_t>(1, std::int32_t(std::lround(log.height * f->units_per_EM / cell)))
                      : log.height;
    }
    if (FT_Set_Pixel_Sizes(f, 0, FT_UInt(em)) != 0)
        return nullptr;
    // The file's own style decides what is made from the regular outline.
    face->embolden = bold && !(f->style_flags & FT_STYLE_FLAG_BOLD);
    face->slant = log.italic && !(f->style_flags & FT_STYLE_FLAG_ITALIC);
    if (face->slant) {
        FT_Matrix shear { 0x10000, 0x0366A, 0, 0x10000 }; // about 12 degrees
        FT_Set_Transform(f, &shear, nullptr);
    }
    std::unique_ptr<Font> font(new Font(log, std::move(face)));
    font->m_family = file->family;
    return font;
}

Font::Font(const LogFont& log, std::unique_ptr<Face> face)
    : m_log(log)
    , m_face(std::move(face))
{
    FT_Face f = m_face->face;
    if (!f) {
        m_ascent = 1;
        return;
    }
    auto [up, down] = cell_units(f);
    m_ascent = std::int32_t((FT_MulFix(up, f->size->metrics.y_scale) + 63) >> 6);
    m_descent = std::int32_t((FT_MulFix(down, f->size->metrics.y_scale) + 63) >> 6);
    if (m_ascent + m_descent < 1)
        m_ascent = 1;
    std::int32_t y_scale = std::int32_t(f->size->metrics.y_scale);
    std::int32_t position = std::int32_t(FT_MulFix(-f->underline_position, y_scale) >> 6);
    m_underline_height = std::max<std::int32_t>(1, std::int32_t(FT_MulFix(f->underline_thickness, y_scale) >> 6));
    m_underline_top = std::clamp(m_ascent + std::max(1, position), 0, std::max(0, line_height() - m_underline_height));
}

Font::~Font() = default;

const Font& Font::system()
{
    static std::unique_ptr<Font> font = Font::create({ -12, 400, false, false, u"Tahoma" });
    if (!font) {
        // No font file at all: a font without ink keeps text calls harmless.
        static Font empty({}, std::make_unique<Face>());
        return empty;
    }
    return *font;
}

const Font::Glyph& Font::glyph(char32_t code) const
{
    auto found = m_glyphs.find(code);
    if (found != m_glyphs.end())
        return found->second;
    Glyph& g = m_glyphs[code];
    FT_Face f = m_face->face;
    if (code < 0x20 || !f || FT_Load_Char(f, code, FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP) != 0)
        return g;
    FT_GlyphSlot slot = f->glyph;
    FT_Pos extra = 0;
    if (m_face->embolden && slot->format == FT_GLYPH_FORMAT_OUTLINE) {
        extra = FT_MulFix(f->units_per_EM, f->size->metrics.y_scale) / 24;
        FT_Outline_Embolden(&slot->outline, extra);
    }
    g.advance = std::int32_t((slot->advance.x + extra + 32) >> 6);
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0)
        return g;
    const FT_Bitmap& bm = slot->bitmap;
    g.left = slot->bitmap_left;
    g.top = slot->bitmap_top;
    g.width = std::int32_t(bm.width);
    g.height = std::int32_t(bm.rows);
    g.coverage.resize(std::size_t(g.width) * std::size_t(g.height));
    for (std::int32_t y = 0; y < g.height; ++y) {
        const unsigned char* src = bm.buffer + std::ptrdiff_t(y) * bm.pitch;
        std::copy(src, src + g.width, g.coverage.begin() + std::ptrdiff_t(y) * g.width);
    }
    return g;
}

Font::Line Font::layout(std::u16string_view text) const
{
    Line line;
    std::int32_t pen = 0, ink_left = 0, ink_right = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        }
        const Glyph& g = glyph(c);
        line.glyphs.emplace_back(&g, pen);
        if (g.width > 0) {
            ink_left = std::min(ink_left, pen + g.left);
            ink_right = std::max(ink_right, pen + g.left + g.width);
        }
        pen += g.advance;
    }
    line.origin = -ink_left;
    line.advance = pen;
    line.width = std::max(pen, ink_right) - ink_left;
    return line;
}

std::vector<std::int32_t> Font::prefix_widths(std::u16string_view text) const
{
    std::vector<std::int32_t> widths;
    widths.reserve(text.size());
    std::int32_t pen = 0, ink_left = 0, ink_right = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
            widths.push_back(std::max(pen, ink_right) - ink_left);
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        }
        const Glyph& g = glyph(c);
        if (g.width > 0) {
            ink_left = std::min(ink_left, pen + g.left);
            ink_right = std::max(ink_right, pen + g.left + g.width);
        }
        pen += g.advance;
        widths.push_back(std::max(pen, ink_right) - ink_left);
    }
    return widths;
}

}
