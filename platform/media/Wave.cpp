#include "platform/media/Wave.h"

#include "platform/core/MessageQueue.h"

namespace platform {

bool WaveFormat::is_valid() const
{
    // The upper bound keeps every byte count of a second inside 32 bits.
    return (channels == 1 || channels == 2) && (bits_per_sample == 8 || bits_per_sample == 16)
        && sample_rate >= 1 && sample_rate <= 768000;
}

WavePost post_to_thread(ThreadId thread)
{
    return [thread](MessageId message, WParam wparam, LParam lparam) {
        post_thread_message(thread, message, wparam, lparam);
    };
}

}
