#pragma once

#include "platform/Wave.h"

#include <atomic>
#include <cstddef>
#include <deque>
#include <mutex>

namespace platform {

// A waveform input device: once started, captured bytes fill the added
// buffers in order and each full one is handed back as data (posted to the
// opening thread). Bytes that arrive with no buffer queued are dropped.
// Backends supply the transport and call capture() from their own thread.
class WaveIn {
public:
    virtual ~WaveIn() = default;
    WaveIn(const WaveIn&) = delete;
    WaveIn& operator=(const WaveIn&) = delete;

    const WaveFormat& format() const { return m_format; }

    virtual bool prepare(WaveBuffer&);
    // Fails while the buffer is queued.
    virtual bool unprepare(WaveBuffer&);
    // Fails for an unprepared or already queued buffer and on a closed device.
    virtual bool add_buffer(WaveBuffer&);
    virtual bool start();
    // Hands back the partly filled head buffer; the others stay queued.
    virtual bool stop();
    // Every queued buffer is handed back, in order, before this returns.
    virtual bool reset();
    // Fails while buffers are queued; otherwise posts the close message last.
    virtual bool close();

    bool is_started() const;
    bool is_closed() const;

protected:
    WaveIn(const WaveFormat&, WavePost);

    // Posts the open message; the backend calls it once its transport exists.
    void post_open();
    // Bytes captured by the backend, from any thread.
    void capture(const uint8_t* in, size_t bytes);
    // Hooks for the backend, never called under the device's lock.
    virtual bool start_transport() { return true; }
    virtual void pause_transport() { }
    // Stops the transport for good; called at most once.
    virtual void stop_transport() { }
    // For the backends' destructors: stops the transport unless close() did.
    void shut_down();

private:
    void hand_back_head();

    const WaveFormat m_format;
    const WavePost m_post;
    mutable std::mutex m_lock;
    std::deque<WaveBuffer*> m_queue;
    bool m_started = false;
    bool m_closed = false;
    std::atomic<bool> m_transport_stopped = false;
};

}
