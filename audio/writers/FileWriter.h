#pragma once

#include "os/File.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace audio {

// What a record chain and the document ask of the writer at its end.
class FileWriter {
public:
    // Opens the writer's file (an os::File mode); tests hand in files that
    // fail their writes, as a full disk does.
    using Opener = std::function<std::unique_ptr<os::File>(const std::u16string& path, os::File::Mode mode)>;

    virtual ~FileWriter() = default;

    // False once the file could not be opened, read or written.
    virtual bool is_ok() = 0;
    // The data written so far, in the position units of the matching reader.
    virtual std::int64_t get_data_size() = 0;

    static std::unique_ptr<os::File> open_file(const std::u16string& path, os::File::Mode mode);
};

}
