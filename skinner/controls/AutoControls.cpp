#include "skinner/controls/AutoControls.h"

namespace skinner {

namespace {

using Maker = std::unique_ptr<Control> (*)(Container&, std::u16string_view);

struct AutoType {
    std::u16string_view type;
    Maker make;
};

// One row per automatic type; the button, frame, picture and panel add
// theirs as they come.
constexpr AutoType auto_types[] {
    { u"", nullptr },
};

}

std::unique_ptr<Control> make_auto_control(Container& container, std::u16string_view type, std::u16string_view name)
{
    for (const AutoType& row : auto_types)
        if (row.make && row.type == type)
            return row.make(container, name);
    return nullptr;
}

}
