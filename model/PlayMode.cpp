#include "model/PlayMode.h"

#include "model/NamedValue.h"

namespace {

constexpr NamedValue<PlayMode> play_mode_names[] = {
    { PlayMode::SingleOnce, u"SingleOnce" },
    { PlayMode::SingleRepeat, u"SingleRepeat" },
    { PlayMode::PlaylistOnce, u"PlaylistOnce" },
    { PlayMode::PlaylistRepeat, u"PlaylistRepeat" },
    { PlayMode::PlaylistShuffle, u"PlaylistShuffle" },
};

}

bool set_attribute_play_mode(const os::XmlNode& node, std::u16string_view name, PlayMode mode)
{
    return set_attribute_named<PlayMode>(node, name, play_mode_names, mode);
}

bool get_attribute_play_mode(const os::XmlNode& node, std::u16string_view name, PlayMode& mode)
{
    return get_attribute_named<PlayMode>(node, name, play_mode_names, mode);
}
