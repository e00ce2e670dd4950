#include "skinner/skin/VersionCheck.h"

#include "skinner/skin/Edition.h"
#include "skinner/skin/SkinFile.h"

namespace skinner {

bool devices_suit(std::u16string_view devices)
{
    return devices.empty() || devices.find(is_smartphone ? u'S' : u'P') != std::u16string_view::npos;
}

VersionMatch check_version(const SkinFile& file, std::u16string_view version, Size screen)
{
    if (!file.has_valid_header() || !devices_suit(file.devices()))
        return {};
    if (!version.empty() && file.skin_name() != version)
        return {};
    if (screen == Size {})
        return { true, 1, {} };
    for (std::uint32_t scale = 1; scale <= 4; ++scale)
        for (std::size_t i = 0; i < skin_format::size_records; ++i) {
            const Size record = file.size_record(i);
            if (std::int64_t { record.width } * scale == screen.width
                && std::int64_t { record.height } * scale == screen.height)
                return { true, scale, record };
        }
    return { file.size_record(0) == Size {}, 1, {} };
}

}
