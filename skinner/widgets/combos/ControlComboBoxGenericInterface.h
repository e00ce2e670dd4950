#pragma once

#include "skinner/graphics/Point.h"
#include "skinner/graphics/Size.h"

#include <cstdint>

namespace skinner {

class Canvas;

// How a drop-down list reads and changes its combo box's items.
class ControlComboBoxGenericInterface {
public:
    virtual ~ControlComboBoxGenericInterface() = default;

    virtual void paint_item(std::int32_t row, Canvas& canvas, Point position, Size size, bool selected,
        bool highlighted)
        = 0;
    virtual std::int32_t get_item_count() const = 0;
    virtual std::int32_t get_column_count() const { return 1; }
    // -1 for none.
    virtual std::int32_t get_current() const = 0;
    virtual void set_current(std::int32_t index) = 0;
};

}
