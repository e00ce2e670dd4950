#pragma once

#include "audio/Consumer.h"
#include "audio/PCMData.h"
#include "liba/Nocopy.h"

#include <functional>

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

    // Where in the stream the audio pulled so far ends (NaN when not known),
    // and how many seconds of the stream a second of the pulled audio stands
    // for (fast play, time stretch).
    struct StreamPoint {
        double position;
        double pace;
    };
    // Asked on the device thread under the player's lock right after each pull.
    using PositionProbe = std::function<StreamPoint()>;
    void set_position_probe(PositionProbe probe);
    // Drops what was pulled and not yet played, queued buffers included: the
    // upstream has moved (a seek, another file).
    void flush();
    // Positions start over from the probe's answer now: a new stream follows.
    void restart_positions();
    // The stream position, in the probe's terms, of the audio being played
    // now; NaN when not known.
    double get_heard_position();

private:
    friend class PlayerPCMImpl;
    PlayerPCMImpl* m_impl;
};

}
