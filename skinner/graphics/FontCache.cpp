#include "skinner/graphics/FontCache.h"

#include "liba/Conversion.h"
#include "os/Log.h"
#include "platform/ui/DeviceContext.h"
#include "skinner/graphics/FontDescription.h"
#include "skinner/graphics/SharedCache.h"

#include <algorithm>

namespace skinner {

namespace {

SharedCache<FontKey, FontRep>& cache()
{
    static auto* fonts = new SharedCache<FontKey, FontRep>; // lives past every static font
    return *fonts;
}

}

FontRep::FontRep(const std::u16string& description, std::uint32_t scale)
    : m_description(description)
    , m_scale(scale)
{
    const std::optional<FontDescription> parsed = parse_font_description(description);
    if (!parsed)
        return;
    auto& log = os::log();
    log << u"Creating font: {" + description + u"}\n";
    log << u"height=" + liba::number_text(parsed->height) + u" name.scale=" + liba::number_text(scale)
            + u"\n";
    const std::int64_t height = std::int64_t { parsed->height } * scale;
    // Points at 96 dots per inch whatever the screen says: skins are drawn for that.
    const std::int64_t log_height = -(height * 96) / 72;
    const int dpiy = platform::DeviceContext::for_screen().device_caps(platform::caps::logical_pixels_y);
    log << u"dpiy=" + liba::number_text(dpiy) + u" log_font.lfHeight=" + liba::number_text(log_height)
            + u"\n";
    platform::LogFont font;
    font.height = static_cast<std::int32_t>(std::clamp<std::int64_t>(log_height, INT32_MIN, INT32_MAX));
    font.weight = parsed->bold != 0 ? 700 : 400;
    font.italic = parsed->italic != 0;
    font.underline = parsed->underline != 0;
    font.face = parsed->face;
    m_log_font = font;
    m_font = platform::Font::create(font);
    if (!m_font)
        log << u"ERROR: FontRep::FontRep() Failed to create font\n";
}

std::shared_ptr<const FontRep> find_font(const std::u16string& description, std::uint32_t scale)
{
    return cache().find(FontKey { description, scale },
        [](const FontKey& key) { return FontRep(key.description, key.scale); });
}

std::size_t fonts_in_use()
{
    return cache().size();
}

}
