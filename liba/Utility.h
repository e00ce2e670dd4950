#pragma once

#include "liba/ErrorBase.h"

namespace liba {

// Low is tested first, so with low above high a value below low gives low.
inline double clamp(double value, double low, double high)
{
    if (value < low)
        return low;
    if (value > high)
        return high;
    return value;
}

// Deletes an owned polymorphic object through its virtual destructor; null does nothing.
template<typename T>
void delete_owned(T* object)
{
    delete object;
}

inline void delete_owned_resource(ErrorBase* resource)
{
    delete resource;
}

}
