#include "audio/devices/DeviceThread.h"

#include "platform/core/MessageQueue.h"

namespace audio {

bool DeviceThread::start_queue()
{
    if (!start())
        return false;
    m_ready.wait();
    return true;
}

bool DeviceThread::post(platform::MessageId message)
{
    return m_thread != 0 && platform::post_thread_message(m_thread, message);
}

platform::WavePost DeviceThread::device_post() const
{
    return platform::post_to_thread(m_thread);
}

void DeviceThread::run()
{
    set_priority(1);
    m_thread = platform::start_message_queue();
    m_ready.set();
    platform::Message message;
    while (!is_stop_requested() && platform::get_message(message))
        handle(message);
    finish();
}

}
