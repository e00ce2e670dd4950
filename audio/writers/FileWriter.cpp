#include "audio/writers/FileWriter.h"

#include "os/File.h"

namespace audio {

std::unique_ptr<os::File> FileWriter::open_file(const std::u16string& path, os::File::Mode mode)
{
    return std::make_unique<os::File>(path, mode);
}

}
