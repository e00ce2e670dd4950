#include "network/Obex.h"

#include <algorithm>

namespace network {

std::array<std::uint8_t, 7> obex_connect_request()
{
    return { 0x80, 0x00, 0x07, 0x10, 0x00, obex_largest_packet >> 8, obex_largest_packet & 0xFF };
}

std::optional<std::uint16_t> obex_connect_packet_size(std::span<const std::uint8_t> response)
{
    if (response.size() < 7 || response[0] != obex_success)
        return std::nullopt;
    const std::uint16_t peer = std::uint16_t(response[5] << 8 | response[6]);
    if (peer < obex_least_packet)
        return std::nullopt;
    return std::min(peer, obex_largest_packet);
}

bool obex_put_accepted(std::span<const std::uint8_t> response)
{
    return !response.empty() && (response[0] == obex_continue || response[0] == obex_success);
}

}
