#include "skinner/graphics/FontDescription.h"

#include "liba/Conversion.h"

#include <algorithm>

namespace skinner {

std::optional<FontDescription> parse_font_description(std::u16string_view text)
{
    FontDescription d;
    const char16_t* at = text.data();
    const char16_t* end = text.data() + text.size();
    for (std::int32_t* field : { &d.height, &d.bold, &d.italic, &d.underline }) {
        int value = 0;
        at = liba::parse_int(at, end, value);
        if (!at)
            return std::nullopt;
        *field = value;
    }
    const char16_t* face = liba::skip_spaces(at, end);
    if (face == end)
        return std::nullopt;
    d.face.assign(face, std::min<std::size_t>(end - face, FontDescription::max_face));
    return d;
}

}
