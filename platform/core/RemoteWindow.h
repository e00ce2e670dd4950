#pragma once

#include "platform/core/Message.h"

#include <cstdint>
#include <string_view>

// Messages to a top-level window of another process of this user. Only the copy-data
// message (74) and the command message (1025) cross; the window's class must have been
// registered as reachable from other processes.
namespace platform {

enum class RemoteStatus {
    delivered, // the window's procedure handled it; result holds its answer
    no_window, // no other process has a top-level window of that class
    failed, // nothing to reach, or it spoke nonsense
    unanswered, // a window's process took the request but did not answer in time
};

struct RemoteReply {
    RemoteStatus status = RemoteStatus::failed;
    LResult result = 0;
};

// Sends to the first top-level window of the class and waits until it has been handled. A
// request still unhandled when the time is up is taken back: it never runs later.
// data is the copy-data record (required for copy data, ignored otherwise); its bytes
// arrive in the other process in a record of their own.
RemoteReply send_to_other_process(
    std::u16string_view class_name, MessageId, WParam, const CopyData* data, std::uint32_t timeout_ms);

// Waits until another process of this user has a top-level window of the class (one
// just started, say), without sending it anything. False when none came in time.
bool wait_for_other_process_window(std::u16string_view class_name, std::uint32_t timeout_ms);

}
