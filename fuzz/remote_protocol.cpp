// Reads the input as a request that another process sent to one of our
// windows (its header, then its class name), and as the reply our request got
// back. What is taken stays within what a request may carry, and reads back
// as it was sent.
#include "platform/core/Utf8.h"
#include "platform/core/detail/MessageState.h"
#include "platform/core/detail/RemoteProtocol.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace platform;
using namespace platform::detail;

namespace {

void check_request(const unsigned char* header, std::string_view rest)
{
    auto request = read_request_header(header);
    if (!request)
        return;
    bool copy = request->message == msg::copy_data;
    if (request->class_bytes > max_class_bytes || request->data_bytes > max_data_bytes
        || (!copy && request->message != msg::user_command) || (!copy && request->data_bytes != 0))
        std::abort();
    auto again = read_request_header(request_header(*request).data());
    if (!again || again->message != request->message || again->class_bytes != request->class_bytes
        || again->wparam != request->wparam || again->data_bytes != request->data_bytes
        || (copy && again->data_word != request->data_word))
        std::abort();
    // The class name as the server compares it with its own.
    std::string name(rest.substr(0, request->class_bytes));
    (void)(fold_case(from_utf8(name)) == fold_case(u"OrvantaRemote"));
}

void check_reply(const unsigned char* reply)
{
    auto answer = read_reply(reply);
    if (!answer)
        return;
    if (answer->status != RemoteStatus::delivered && answer->status != RemoteStatus::no_window
        && answer->status != RemoteStatus::failed)
        std::abort();
    auto bytes = reply_bytes(answer->status, answer->result);
    if (std::memcmp(bytes.data(), reply, reply_size) != 0)
        std::abort();
}

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    unsigned char header[request_header_size] {};
    unsigned char reply[reply_size] {};
    std::size_t taken = std::min(size, sizeof header);
    std::memcpy(header, data, taken);
    std::size_t reply_taken = std::min(size - taken, sizeof reply);
    std::memcpy(reply, data + taken, reply_taken);
    taken += reply_taken;
    check_request(header, std::string_view(reinterpret_cast<const char*>(data) + taken, size - taken));
    check_reply(reply);
    return 0;
}
