#pragma once

#include "platform/media/WaveDevice.h"

#include <cstddef>

namespace platform {

// A waveform output device: buffers written to it play in order, each handed
// back as done (posted to the opening thread) once it has been played; with
// nothing queued it plays silence. Backends supply the transport and call
// render() from their own thread.
class WaveOut : public WaveDevice {
public:
    // Fails for an unprepared or already queued buffer and on a closed device.
    virtual bool write(WaveBuffer&);
    virtual bool pause();
    virtual bool restart();
    // Every queued buffer is handed back as done, in order, before this returns.
    virtual bool reset();
    // Left channel in the low word, right in the high word; 0xFFFF plays unchanged.
    virtual void set_volume(uint32_t volume);
    uint32_t volume() const;
    bool is_paused() const;
    // Bytes written and not played yet.
    size_t unplayed() const;

protected:
    WaveOut(const WaveFormat&, WavePost);

    // The next bytes to play, from any thread; bytes is a whole number of frames.
    // Returns how many came from buffers: the rest is silence.
    size_t render(uint8_t* out, size_t bytes);

private:
    void apply_volume(uint8_t* out, size_t bytes) const;

    size_t m_head_offset = 0;
    bool m_paused = false;
    uint32_t m_volume = 0xFFFFFFFF;
};

}
