#include "platform/core/detail/RemoteProtocol.h"

#include <cstring>

namespace platform::detail {

namespace {

constexpr std::uint32_t magic = 0x5756524f;
constexpr std::uint32_t version = 1;

template<typename T>
void put(unsigned char*& p, T value)
{
    std::memcpy(p, &value, sizeof value);
    p += sizeof value;
}

template<typename T>
T get(const unsigned char*& p)
{
    T value;
    std::memcpy(&value, p, sizeof value);
    p += sizeof value;
    return value;
}

}

std::array<unsigned char, request_header_size> request_header(const RemoteRequest& request)
{
    std::array<unsigned char, request_header_size> bytes {};
    unsigned char* p = bytes.data();
    bool copy = request.message == msg::copy_data;
    put(p, magic);
    put(p, version);
    put(p, static_cast<std::uint32_t>(request.message));
    put(p, request.class_bytes);
    put(p, static_cast<std::uint64_t>(request.wparam));
    put(p, copy ? request.data_word : std::uint64_t { 0 });
    put(p, static_cast<std::uint32_t>(copy ? 1 : 0));
    put(p, copy ? request.data_bytes : std::uint32_t { 0 });
    return bytes;
}

std::optional<RemoteRequest> read_request_header(const unsigned char* bytes)
{
    const unsigned char* p = bytes;
    auto got_magic = get<std::uint32_t>(p);
    auto got_version = get<std::uint32_t>(p);
    RemoteRequest request;
    request.message = get<std::uint32_t>(p);
    request.class_bytes = get<std::uint32_t>(p);
    request.wparam = static_cast<WParam>(get<std::uint64_t>(p));
    request.data_word = get<std::uint64_t>(p);
    auto has_data = get<std::uint32_t>(p);
    request.data_bytes = get<std::uint32_t>(p);
    bool copy = request.message == msg::copy_data;
    if (got_magic != magic || got_version != version || request.class_bytes > max_class_bytes
        || request.data_bytes > max_data_bytes || (!copy && request.message != msg::user_command)
        || has_data != (copy ? 1u : 0u) || (!copy && request.data_bytes != 0))
        return std::nullopt;
    return request;
}

std::array<unsigned char, reply_size> reply_bytes(RemoteStatus status, LResult result)
{
    std::array<unsigned char, reply_size> bytes {};
    unsigned char* p = bytes.data();
    put(p, magic);
    put(p, static_cast<std::uint32_t>(status));
    put(p, static_cast<std::int64_t>(result));
    return bytes;
}

std::optional<RemoteReply> read_reply(const unsigned char* bytes)
{
    const unsigned char* p = bytes;
    auto got_magic = get<std::uint32_t>(p);
    auto status = get<std::uint32_t>(p);
    auto result = get<std::int64_t>(p);
    if (got_magic != magic || status > static_cast<std::uint32_t>(RemoteStatus::failed))
        return std::nullopt;
    return RemoteReply { static_cast<RemoteStatus>(status), static_cast<LResult>(result) };
}

Framing read_request(const std::function<bool(void*, std::size_t)>& read, ReceivedRequest& out)
{
    unsigned char header[request_header_size];
    if (!read(header, sizeof header))
        return Framing::cut_short;
    const auto request = read_request_header(header);
    if (!request)
        return Framing::refused;
    out.fields = *request;
    out.class_name.assign(request->class_bytes, '\0');
    out.data.assign(request->data_bytes, 0);
    if (!read(out.class_name.data(), out.class_name.size()) || !read(out.data.data(), out.data.size()))
        return Framing::cut_short;
    return Framing::complete;
}

}
