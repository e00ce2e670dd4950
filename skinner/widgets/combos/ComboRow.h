#pragma once

#include "skinner/widgets/combos/List.h"

#include <string_view>

namespace skinner {

// Draws one row of a combo box's drop-down list: the list's item look for
// the row's state, then the text inside the list's borders and indent.
void paint_combo_row(const List* list, std::u16string_view text, Canvas& canvas, Point position, Size size,
    bool selected, bool highlighted);

}
