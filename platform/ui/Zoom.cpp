#include "platform/ui/Zoom.h"

namespace platform {

namespace {

constexpr int max_zoom = 8;

}

std::optional<int> parse_zoom(std::string_view text)
{
    if (text.empty() || text.size() > 3)
        return std::nullopt;
    int zoom = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        zoom = zoom * 10 + (c - '0');
    }
    if (zoom < 1 || zoom > max_zoom)
        return std::nullopt;
    return zoom;
}

}
