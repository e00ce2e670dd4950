#pragma once

#include "skinner/widgets/lists/ControlListGeneric.h"

#include <string>
#include <vector>

namespace skinner {

// A list of texts, one line per row, each drawn in the item look of its state.
class ControlListString : public ControlListGeneric<std::vector<std::u16string>> {
public:
    ControlListString(Container& container, std::u16string_view id, ControlMode mode = ControlMode::named);

    void load() override;
    void paint_item(std::int32_t column, std::int32_t row, Canvas& canvas, Point position, Size size, bool selected,
        bool highlighted) override;

    // Pixels left free before each text.
    std::int32_t indent() const { return m_indent; }

private:
    std::int32_t m_indent = 0;
};

}
