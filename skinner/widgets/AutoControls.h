#pragma once

#include "skinner/core/Control.h"

#include <memory>
#include <string_view>

namespace skinner {

// The control that a skin form declares by type ("Auto.Button", ...), made
// in the container under the name, mode named; null for a type the
// framework does not make. Type names compare exactly.
std::unique_ptr<Control> make_auto_control(Container& container, std::u16string_view type, std::u16string_view name);

}
