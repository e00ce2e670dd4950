#include "skinner/widgets/AutoControls.h"

#include "skinner/widgets/buttons/ControlButton.h"
#include "skinner/widgets/text/ControlFrame.h"
#include "skinner/widgets/panels/ControlPanel.h"
#include "skinner/widgets/pictures/ControlPicture.h"

namespace skinner {

namespace {

using Maker = std::unique_ptr<Control> (*)(Container&, std::u16string_view);

template<typename Made>
std::unique_ptr<Control> make(Container& container, std::u16string_view name)
{
    return std::make_unique<Made>(container, name, ControlMode::named);
}

struct AutoType {
    std::u16string_view type;
    Maker make;
};

// One row per automatic type.
constexpr AutoType auto_types[] {
    { u"Auto.Button", make<ControlButton> },
    { u"Auto.Frame", make<ControlFrame> },
    { u"Auto.Picture", make<ControlPicture> },
    { u"Auto.Panel", make<ControlPanel> },
};

}

std::unique_ptr<Control> make_auto_control(
    Container& container, std::u16string_view type, std::u16string_view name)
{
    for (const AutoType& row : auto_types)
        if (row.make && row.type == type)
            return row.make(container, name);
    return nullptr;
}

}
