// Feeds arbitrary bytes to the WAV header walk and to the three WAV readers.
#include "audio/readers/FileReaderWAVADPCM.h"
#include "audio/readers/FileReaderWAVGSM.h"
#include "audio/readers/FileReaderWAVPCM.h"
#include "platform/core/Utf8.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace {

// The input lives in an in-memory file that the readers open by name.
struct MemoryFile {
    int fd;
    std::u16string path;
};

const MemoryFile& memory_file()
{
    static const MemoryFile file = [] {
        int fd = memfd_create("wav_header", 0);
        if (fd < 0)
            std::abort();
        return MemoryFile { fd, platform::from_utf8("/proc/self/fd/" + std::to_string(fd)) };
    }();
    return file;
}

void store(const std::uint8_t* data, std::size_t size)
{
    int fd = memory_file().fd;
    if (ftruncate(fd, 0) != 0 || (size && pwrite(fd, data, size, 0) != static_cast<ssize_t>(size)))
        std::abort();
}

template<typename Reader>
void exercise(std::int32_t request)
{
    Reader reader(memory_file().path);
    reader.get_length();
    reader.time_to_bytes(1e300);
    for (int i = 0; i < 64 && !reader.is_end(); ++i) {
        if (reader.get_data(request).is_empty())
            break;
    }
    reader.seek(0.5);
    reader.seek_bytes(-1);
    reader.skip_bytes(3);
    reader.skip(0.01);
    reader.get_position();
}

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    store(data, size);
    std::int32_t request = size ? 1 + data[size - 1] * 64 : 1;
    exercise<audio::FileReaderWAVPCM>(request);
    exercise<audio::FileReaderWAVADPCM>(request % 16);
    exercise<audio::FileReaderWAVGSM>(request % 16);
    return 0;
}
