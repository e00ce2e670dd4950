#pragma once

#include "platform/core/Geometry.h"

namespace skinner {

// The window layer's size: values pass between the two without conversion.
using Size = platform::Size;
}
