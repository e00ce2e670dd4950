// Reads the input as the bytes of one connection to a window's socket, arriving in pieces
// of the sizes its first bytes give: a request is taken whole or not at all, never beyond
// what its header promised, and what it carries is what came after the header.
#include "platform/core/detail/RemoteProtocol.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string_view>

using namespace platform::detail;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    // The first byte: how many bytes each read gets at most (as a socket gives them).
    const std::size_t piece = std::size_t { data[0] } + 1;
    const std::string_view stream(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::size_t at = 0;
    std::size_t reads = 0;
    const auto read = [&](void* buffer, std::size_t n) {
        auto* out = static_cast<char*>(buffer);
        while (n > 0) {
            const std::size_t take = std::min({ n, piece, stream.size() - at });
            if (take == 0)
                return false; // the peer closed
            std::memcpy(out, stream.data() + at, take);
            out += take;
            at += take;
            n -= take;
            ++reads;
        }
        return true;
    };
    ReceivedRequest request;
    const Framing framing = read_request(read, request);
    if (at > stream.size())
        std::abort();
    if (framing == Framing::refused && at != request_header_size)
        std::abort(); // nothing is read past a header that is refused
    if (framing != Framing::complete)
        return 0;
    const auto header = read_request_header(reinterpret_cast<const unsigned char*>(stream.data()));
    if (!header || request.class_name.size() != header->class_bytes || request.data.size() != header->data_bytes
        || at != request_header_size + header->class_bytes + header->data_bytes)
        std::abort();
    if (stream.substr(request_header_size, header->class_bytes) != request.class_name
        || (header->data_bytes
            && std::memcmp(request.data.data(), stream.data() + request_header_size + header->class_bytes,
                   header->data_bytes)
                != 0))
        std::abort();
    return 0;
}
