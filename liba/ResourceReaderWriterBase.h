#pragma once

#include "liba/ResourceReader.h"
#include "liba/ResourceWriter.h"

namespace liba {

// Both sides of a stream over one error list.
class ResourceReaderWriterBase : public ResourceReader, public ResourceWriter { };

}
