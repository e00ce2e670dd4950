#include "skinner/widgets/buttons/ButtonLookSet.h"

#include "skinner/core/Control.h"

#include <string>

namespace skinner {

namespace {

ButtonLook load_look(const Control& control, std::u16string_view prefix, std::u16string_view name,
    const ButtonLook& fallback)
{
    std::u16string key(prefix);
    key += name;
    return ButtonLook {
        control.get_property_picture(key, fallback.picture),
        control.get_property_font(key, fallback.font),
        control.get_property_color(key, fallback.text_color),
    };
}

}

void ButtonLookSet::load(const Control& control, std::u16string_view prefix)
{
    normal = load_look(control, prefix, u"Normal", ButtonLook {});
    pressed = load_look(control, prefix, u"Pressed", normal);
    highlighted = load_look(control, prefix, u"Highlighted", normal);
    disabled = load_look(control, prefix, u"Disabled", normal);
}

}
