#pragma once

#include "platform/core/Message.h"
#include "platform/core/RemoteWindow.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// How a message to another process's window travels over its socket. A
// request is a fixed header (magic, version, message, class length, wparam,
// data word, has data, data length), then the class name (UTF-8) and the
// data; the reply is magic, status and result. Both ends are this program, in
// the byte order of the machine.
namespace platform::detail {

inline constexpr std::size_t request_header_size = 40;
inline constexpr std::size_t reply_size = 16;
inline constexpr std::uint32_t max_class_bytes = 1024;
inline constexpr std::uint32_t max_data_bytes = 1 << 20;

struct RemoteRequest {
    MessageId message = 0; // the copy-data or the command message
    std::uint32_t class_bytes = 0;
    WParam wparam = 0;
    std::uint64_t data_word = 0;
    std::uint32_t data_bytes = 0; // only copy data has any
};

std::array<unsigned char, request_header_size> request_header(const RemoteRequest& request);
// The header as sent; nothing when it is no request of this version, asks
// for another message, or promises more than a request may carry.
std::optional<RemoteRequest> read_request_header(const unsigned char* bytes);

std::array<unsigned char, reply_size> reply_bytes(RemoteStatus status, LResult result);
// Nothing when it is no reply.
std::optional<RemoteReply> read_reply(const unsigned char* bytes);

// A whole request as it came over a connection.
struct ReceivedRequest {
    RemoteRequest fields;
    std::string class_name; // UTF-8, as sent
    std::vector<unsigned char> data;
};

enum class Framing {
    complete,
    refused, // the header is no request: the sender is told it failed
    cut_short, // the connection ended or stalled first: nobody is told anything
};

// Reads one request, header first, through read, which fills all n bytes or fails.
// Nothing is allocated before the header has been checked.
Framing read_request(const std::function<bool(void*, std::size_t)>& read, ReceivedRequest& out);

}
