#include "model/DamagedSettings.h"

#include "liba/Conversion.h"
#include "os/PathMacros.h"
#include "os/XmlNode.h"
#include "platform/core/FileSystem.h"

#include <string>

namespace {

constexpr int max_kept = 100;

bool reads_as_settings(const std::u16string& path)
{
    return os::XmlNode::find_child(os::XmlNode::load_file(path), u"Settings").is_valid();
}

}

std::u16string keep_damaged_settings(const std::u16string& path)
{
    const std::u16string file = os::expand_path_macros(path);
    platform::FileStatus status;
    if (platform::file_status(file, status) != 0 || (status.attributes & platform::file_attribute_directory)
        || reads_as_settings(file))
        return {};
    for (int i = 1; i <= max_kept; ++i) {
        std::u16string kept = file + u".damaged";
        if (i > 1)
            kept += u"-" + liba::number_text(i);
        // move_file never replaces: an earlier damaged copy is kept too.
        if (platform::move_file(file, kept) == 0)
            return kept;
    }
    return {};
}
