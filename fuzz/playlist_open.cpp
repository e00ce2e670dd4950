// Opens the input as a playlist of whatever kind accepts it, resolves its
// entries and saves it again, so that hostile times reach the writers too.
#include "FuzzFile.h"
#include "playlist/EntryPath.h"
#include "playlist/List.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzFile fuzz(data, size);
    std::unique_ptr<playlist::List> list = playlist::List::open(fuzz.path());
    if (!list)
        return 0;
    for (const playlist::Entry& entry : list->entries())
        playlist::resolve_entry_path(fuzz.path(), entry.path);
    std::u16string copy = fuzz.path() + u".out";
    list->save(copy);
    std::remove(platform::to_utf8(copy).c_str());
    return 0;
}
