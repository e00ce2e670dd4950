#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The devices a beam is offered to, as the user lists them in the registry's
// "ObexPeers" value.
namespace platform::detail {

// The entries of the value: separated by ';', ',' or blanks.
std::vector<std::string> split_obex_peers(std::string_view text);

// One entry: "host", "host:port", "[address]:port" or a bare IPv6 address,
// the port 650 when none is given; false for anything else.
bool split_obex_peer(std::string_view entry, std::string& host, std::uint16_t& port);

}
