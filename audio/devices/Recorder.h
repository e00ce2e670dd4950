#pragma once

namespace audio {

// What the document asks of a recorder, whatever device it captures from.
class Recorder {
public:
    virtual ~Recorder() = default;
    virtual bool start() = 0;
    virtual bool stop() = 0;
    virtual bool is_stopped() = 0;
    virtual bool is_recording() = 0;
    virtual int get_channels() = 0;
    virtual int get_bits_per_sample() = 0;
    virtual int get_sample_rate() = 0;
    // Bits per second.
    virtual int get_bitrate() = 0;
};

}
