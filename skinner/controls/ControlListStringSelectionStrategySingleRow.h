#pragma once

#include "skinner/controls/ControlListString.h"
#include "skinner/controls/GridSelectionStrategySingleRow.h"

namespace skinner {

// The string list that forms create: one selected row.
class ControlListStringSelectionStrategySingleRow : public ControlListString, public GridSelectionStrategySingleRow {
public:
    using ControlListString::ControlListString;
};

}
