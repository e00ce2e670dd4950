#pragma once

#include "platform/media/Wave.h"

#include <atomic>
#include <deque>
#include <mutex>

namespace platform {

// What output and input devices share: the format, the post to the opening
// thread, and the queue of lent buffers under the device's one lock.
class WaveDevice {
public:
    virtual ~WaveDevice() = default;
    WaveDevice(const WaveDevice&) = delete;
    WaveDevice& operator=(const WaveDevice&) = delete;

    const WaveFormat& format() const { return m_format; }

    virtual bool prepare(WaveBuffer&);
    // Fails while the buffer is queued.
    virtual bool unprepare(WaveBuffer&);
    // Fails while buffers are queued; otherwise posts the close message last.
    virtual bool close();
    bool is_closed() const;
    // Buffers lent to the device and not yet handed back.
    size_t queued() const;

protected:
    WaveDevice(const WaveFormat&, WavePost, WaveDeviceMessage open_message, WaveDeviceMessage close_message,
        WaveBufferMessage buffer_message);

    // Posts the open message; the backend calls it once its transport exists.
    void post_open();
    // Under m_lock: queues a prepared buffer that is not queued yet.
    bool enqueue(WaveBuffer&);
    // Under m_lock, so that buffer messages keep their order and all come
    // before the close message.
    void hand_back_head();

    // Stops the backend's transport; called at most once, never under m_lock.
    virtual void stop_transport() { }

    // For the backends' destructors: stops the transport unless close() did.
    void shut_down();

    mutable std::mutex m_lock;
    std::deque<WaveBuffer*> m_queue;
    bool m_closed = false;

private:
    const WaveFormat m_format;
    const WavePost m_post;
    template<typename T, Carrier carrier>
    void post(PointerMessage<T, carrier> message, std::type_identity_t<T>* pointer) const
    {
        m_post(message.id, message.wparam(pointer), message.lparam(pointer));
    }

    const WaveDeviceMessage m_open_message;
    const WaveDeviceMessage m_close_message;
    const WaveBufferMessage m_buffer_message;
    std::atomic<bool> m_transport_stopped = false;
};

}
