#pragma once

namespace audio {

// What a record chain asks of its encoder.
class Encoder {
public:
    virtual ~Encoder() = default;

    // Bits per second of the encoded output.
    virtual int get_bitrate() = 0;
};

}
