// Reads the input as the registry's "ObexPeers" value (UTF-16 text, as the
// registry holds it) and splits it as a beam does: entries hold no
// separator, and an entry taken names a host and a port.
#include "platform/core/ObexTransport.h"
#include "platform/core/Utf8.h"
#include "platform/core/detail/ObexPeerList.h"

#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::u16string value;
    for (std::size_t i = 0; i + 1 < size; i += 2)
        value += char16_t(data[i] | data[i + 1] << 8);
    for (const std::string& entry : platform::detail::split_obex_peers(platform::to_utf8(value))) {
        if (entry.empty() || entry.find_first_of(";, \t\r\n") != std::string::npos)
            std::abort();
        std::string host;
        std::uint16_t port = 0;
        if (!platform::detail::split_obex_peer(entry, host, port))
            continue;
        if (host.empty() || port == 0 || host.size() > entry.size())
            std::abort();
        if (entry.find_first_of(":[") == std::string::npos
            && (host != entry || port != platform::obex_tcp_port))
            std::abort();
    }
    return 0;
}
