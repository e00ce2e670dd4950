#pragma once

#include "liba/StreamReader.h"

#include <cstddef>
#include <cstdint>

namespace liba {

// Something read like a file: a plain file or a member of an archive.
class ResourceReader : public StreamReader {
public:
    // Returns the count read.
    virtual std::size_t read(void* buffer, std::size_t count) = 0;
    // Returns the distance moved.
    virtual std::int64_t skip(std::int64_t distance) = 0;
    virtual std::uint64_t size() = 0;
    virtual bool seek(std::uint64_t position) = 0;
    virtual std::uint64_t tell() = 0;
};

}
