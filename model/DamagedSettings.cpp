#include "model/DamagedSettings.h"

#include "liba/Conversion.h"
#include "os/FileInfo.h"
#include "os/PathMacros.h"
#include "os/XmlNode.h"

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
    os::FileInfo info(file);
    if (!info.exists() || info.is_directory() || reads_as_settings(file))
        return {};
    for (int i = 1; i <= max_kept; ++i) {
        std::u16string kept = file + u".damaged";
        if (i > 1)
            kept += u"-" + liba::number_text(i);
        // A move never replaces: an earlier damaged copy is kept too.
        if (info.move_to(kept))
            return kept;
    }
    return {};
}
