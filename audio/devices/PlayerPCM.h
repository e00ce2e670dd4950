#pragma once

#include "audio/Consumer.h"
#include "audio/PCMData.h"
#include "liba/Nocopy.h"

namespace audio {

class PlayerPCMImpl;

// The end of every playback pipeline: a device thread of its own pulls
// chunks from upstream and keeps six buffers of the waveform output fed.
// The caller's thread only sets requests and kicks that thread.
class PlayerPCM : public Consumer<PCMData>, private liba::Nocopy {
public:
    PlayerPCM();
    // Returns without waiting for queued audio to play.
    ~PlayerPCM() override;

    // A push is a programming error and ends the program.
    void on_data(const PCMData&) override;

    // Starts playback, or resumes it after a pause.
    bool play();
    bool stop();
    bool pause();
    bool is_paused();
    // 0..1, applied to both channels; kept for devices opened later.
    void set_volume(double volume);
    double get_volume();
    // True when the last attempt to play found no output device.
    bool has_failed();
    // True while no output device is open: what was played has been heard
    // to its end, or nothing was.
    bool is_idle();

private:
    friend class PlayerPCMImpl;
    PlayerPCMImpl* m_impl;
};

}
