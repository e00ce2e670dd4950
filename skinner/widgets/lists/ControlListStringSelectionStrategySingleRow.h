#pragma once

#include "skinner/widgets/lists/ControlListString.h"
#include "skinner/widgets/lists/GridSelectionStrategySingleRow.h"

namespace skinner {

// The string list that forms create: one selected row.
class ControlListStringSelectionStrategySingleRow : public ControlListString, public GridSelectionStrategySingleRow {
public:
    using ControlListString::ControlListString;
};

}
