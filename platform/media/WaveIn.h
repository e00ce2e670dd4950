#pragma once

#include "platform/media/WaveDevice.h"

#include <cstddef>

namespace platform {

// A waveform input device: once started, captured bytes fill the added
// buffers in order and each full one is handed back as data (posted to the
// opening thread). Bytes that arrive with no buffer queued are dropped.
// Backends supply the transport and call capture() from their own thread.
class WaveIn : public WaveDevice {
public:
    // Fails for an unprepared or already queued buffer and on a closed device.
    virtual bool add_buffer(WaveBuffer&);
    virtual bool start();
    // Hands back the partly filled head buffer; the others stay queued.
    virtual bool stop();
    // Every queued buffer is handed back, in order, before this returns.
    virtual bool reset();
    bool is_started() const;

protected:
    WaveIn(const WaveFormat&, WavePost);

    // Bytes captured by the backend, from any thread.
    void capture(const uint8_t* in, size_t bytes);

    // Hooks for the backend, never called under the device's lock.
    virtual bool start_transport() { return true; }

    virtual void pause_transport() { }

private:
    bool m_started = false;
};

}
