#pragma once

#include "liba/ErrorBase.h"

namespace liba {

// The writing side of a stream; shares its error list like StreamReader.
class StreamWriter : public virtual ErrorBase { };

}
