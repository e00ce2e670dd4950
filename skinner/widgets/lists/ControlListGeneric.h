#pragma once

#include "skinner/widgets/lists/ControlGrid.h"

#include <cstdint>

namespace skinner {

// A one-column grid over a vector of items that the list holds. The owner
// changes the items directly and calls refresh afterwards.
template<typename Items>
class ControlListGeneric : public ControlGrid {
public:
    ControlListGeneric(Container& container, std::u16string_view id, ControlMode mode = ControlMode::named)
        : ControlGrid(container, id, mode)
    {
        // The first paint may come before the owner's first refresh.
        update_layout();
    }

    std::int32_t get_item_count() const override { return std::int32_t(items.size()); }
    std::int32_t get_column_count() const override { return 1; }

    Items items;
};

}
