#include "platform/core/ObexTransport.h"

namespace platform {

bool ObexTransport::receive_exactly(std::uint8_t* buffer, std::size_t count)
{
    std::size_t got = 0;
    while (got < count) {
        const std::ptrdiff_t n = receive({ buffer + got, count - got });
        if (n <= 0)
            return false;
        got += static_cast<std::size_t>(n);
    }
    return true;
}

bool ObexTransport::receive_response(std::vector<std::uint8_t>& response)
{
    response.assign(3, 0);
    if (!receive_exactly(response.data(), 3))
        return false;
    const std::size_t length = std::size_t(response[1]) << 8 | response[2];
    if (length < 3)
        return false;
    response.resize(length);
    return receive_exactly(response.data() + 3, length - 3);
}

}
