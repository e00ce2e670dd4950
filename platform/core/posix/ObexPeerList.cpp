#include "platform/core/detail/ObexPeerList.h"

#include "platform/core/ObexTransport.h"

#include <charconv>
#include <cstring>

namespace platform::detail {

std::vector<std::string> split_obex_peers(std::string_view text)
{
    std::vector<std::string> entries;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || std::strchr(";, \t\r\n", text[i])) {
            if (i > start)
                entries.emplace_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    return entries;
}

bool split_obex_peer(std::string_view entry, std::string& host, std::uint16_t& port)
{
    port = obex_tcp_port;
    std::string_view port_text;
    bool has_port = false;
    if (entry.starts_with('[')) {
        const auto close = entry.find(']');
        if (close == std::string_view::npos)
            return false;
        host = entry.substr(1, close - 1);
        const auto rest = entry.substr(close + 1);
        if (!rest.empty()) {
            if (rest[0] != ':')
                return false;
            has_port = true;
            port_text = rest.substr(1);
        }
    } else if (const auto colon = entry.find(':');
               colon != std::string_view::npos && entry.find(':', colon + 1) == std::string_view::npos) {
        host = entry.substr(0, colon);
        has_port = true;
        port_text = entry.substr(colon + 1);
    } else {
        host = entry;
    }
    if (host.empty())
        return false;
    if (!has_port)
        return true;
    unsigned value = 0;
    const char* end = port_text.data() + port_text.size();
    const auto result = std::from_chars(port_text.data(), end, value);
    if (result.ec != std::errc() || result.ptr != end || value == 0 || value > 65535)
        return false;
    port = static_cast<std::uint16_t>(value);
    return true;
}

}
