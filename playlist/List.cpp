#include "playlist/List.h"

#include "playlist/ListASX.h"
#include "playlist/ListM3U.h"
#include "playlist/ListMultiTracker.h"
#include "playlist/ListOfflineRadio.h"

namespace playlist {

namespace {

template<typename Kind>
std::unique_ptr<List> read_as(const std::u16string& path)
{
    auto list = std::make_unique<Kind>(path);
    if (!list->is_loaded())
        return nullptr;
    return list;
}

}

std::unique_ptr<List> List::open(const std::u16string& path)
{
    using Reader = std::unique_ptr<List> (*)(const std::u16string&);
    // M3U first: it looks at no more than the first line of other files.
    constexpr Reader readers[]
        = { read_as<ListM3U>, read_as<ListASX>, read_as<ListMultiTracker>, read_as<ListOfflineRadio> };
    for (Reader read : readers) {
        if (auto list = read(path))
            return list;
    }
    return nullptr;
}

}
