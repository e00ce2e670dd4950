#pragma once

#include <optional>
#include <string_view>

namespace platform {

// ORVANTA_ZOOM: a whole factor from 1 to 8 in decimal digits, nothing else.
std::optional<int> parse_zoom(std::string_view text);

}
