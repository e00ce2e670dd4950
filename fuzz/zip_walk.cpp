// Walks every member of an archive, reads and moves inside each, then looks
// one up by name.
#include "FuzzFile.h"
#include "liba/ZipFile.h"
#include "os/File.h"

#include <cstdlib>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzFile file(data, size);
    liba::ZipFile zip(std::make_unique<os::File>(file.path(), os::File::Mode::read));
    char buffer[256];
    std::u16string last;
    for (int members = 0; members < 1000; ++members) {
        std::u16string name = zip.next_entry();
        if (name.empty())
            break;
        last = name;
        std::uint64_t member_size = zip.size();
        std::uint64_t total = 0;
        while (std::size_t got = zip.read(buffer, sizeof buffer))
            total += got;
        if (total > member_size || zip.tell() > member_size)
            std::abort();
        zip.seek(member_size / 2);
        zip.skip(-7);
        zip.skip(1 << 20);
        if (zip.tell() > member_size)
            std::abort();
    }
    if (!last.empty() && !zip.open_entry(last))
        std::abort();
    return 0;
}
