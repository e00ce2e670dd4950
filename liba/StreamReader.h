#pragma once

#include "liba/ErrorBase.h"

namespace liba {

// The reading side of a stream. The error list is shared (virtual base), so
// an object that reads and writes has one list, seen from either side.
class StreamReader : public virtual ErrorBase { };

}
