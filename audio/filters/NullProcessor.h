#pragma once

#include "audio/Processor.h"

namespace audio {

// Hands every chunk on as it came: a fixed link that others can be put behind.
template<typename T>
class NullProcessor : public Processor<T, T> {
public:
    T process(const T& input) override { return input; }
};

}
