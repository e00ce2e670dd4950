#pragma once

#include "platform/Wave.h"

#include <atomic>
#include <cstddef>
#include <deque>
#include <mutex>

namespace platform {

// A waveform output device: buffers written to it play in order, each handed
// back as done (posted to the opening thread) once it has been played; with
// nothing queued it plays silence. Backends supply the transport and call
// render() from their own thread.
class WaveOut {
public:
    virtual ~WaveOut() = default;
    WaveOut(const WaveOut&) = delete;
    WaveOut& operator=(const WaveOut&) = delete;

    const WaveFormat& format() const { return m_format; }

    virtual bool prepare(WaveBuffer&);
    // Fails while the buffer is queued.
    virtual bool unprepare(WaveBuffer&);
    // Fails for an unprepared or already queued buffer and on a closed device.
    virtual bool write(WaveBuffer&);
    virtual bool pause();
    virtual bool restart();
    // Every queued buffer is handed back as done, in order, before this returns.
    virtual bool reset();
    // Fails while buffers are queued; otherwise posts the close message last.
    virtual bool close();
    // Left channel in the low word, right in the high word; 0xFFFF plays unchanged.
    virtual void set_volume(uint32_t volume);
    uint32_t volume() const;

    bool is_paused() const;
    bool is_closed() const;

protected:
    WaveOut(const WaveFormat&, WavePost);

    // Posts the open message; the backend calls it once its transport runs.
    void post_open();
    // The next bytes to play, from any thread; bytes is a whole number of frames.
    // Returns how many came from buffers: the rest is silence.
    size_t render(uint8_t* out, size_t bytes);
    // Stops the backend's transport; called at most once, never under the device's lock.
    virtual void stop_transport() { }
    // For the backends' destructors: stops the transport unless close() did.
    void shut_down();

private:
    void hand_back_head();
    void apply_volume(uint8_t* out, size_t bytes) const;

    const WaveFormat m_format;
    const WavePost m_post;
    mutable std::mutex m_lock;
    std::deque<WaveBuffer*> m_queue;
    size_t m_head_offset = 0;
    bool m_paused = false;
    bool m_closed = false;
    uint32_t m_volume = 0xFFFFFFFF;
    std::atomic<bool> m_transport_stopped = false;
};

}
