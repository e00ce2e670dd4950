#pragma once

#include <string_view>

namespace os {
class XmlNode;
}

// What follows the end of an item.
enum class PlayMode : int {
    SingleOnce = 0,
    SingleRepeat = 1,
    PlaylistOnce = 2,
    PlaylistRepeat = 3,
    PlaylistShuffle = 4,
};

// By name: "SingleOnce", "SingleRepeat", "PlaylistOnce", "PlaylistRepeat",
// "PlaylistShuffle". False for a value or a text that has no name.
bool set_attribute_play_mode(const os::XmlNode& node, std::u16string_view name, PlayMode mode);
bool get_attribute_play_mode(const os::XmlNode& node, std::u16string_view name, PlayMode& mode);
