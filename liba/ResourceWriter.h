#pragma once

#include "liba/StreamWriter.h"

#include <cstddef>
#include <cstdint>

namespace liba {

class ResourceWriter : public StreamWriter {
public:
    // Returns the count written.
    virtual std::size_t write(const void* buffer, std::size_t count) = 0;
    virtual std::uint64_t size() = 0;
    virtual bool seek(std::uint64_t position) = 0;
    virtual std::uint64_t tell() = 0;
};

}
