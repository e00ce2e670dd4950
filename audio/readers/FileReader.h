#pragma once

#include <cstdint>

namespace audio {

// What chains, ranged readers and the document ask of any reader of a file.
// Positions ("bytes") are in each reader's own unit; callers convert through
// time_to_bytes and bytes_to_time or work in seconds.
class FileReader {
public:
    virtual ~FileReader() = default;

    virtual bool is_open() = 0;
    // True also when not open.
    virtual bool is_end() = 0;
    virtual int get_channels() = 0;
    virtual int get_bits_per_sample() = 0;
    virtual int get_sample_rate() = 0;
    // Bits per second of the stored data.
    virtual int get_bitrate() = 0;
    virtual std::int64_t time_to_bytes(double seconds) = 0;
    virtual double bytes_to_time(std::int64_t units) = 0;
    virtual double get_length();
    virtual double get_position();
    virtual void seek(double seconds);
    virtual std::int64_t get_length_bytes() = 0;
    virtual std::int64_t get_position_bytes() = 0;
    virtual void seek_bytes(std::int64_t units) = 0;
    // Passes the next span on to the connected consumer.
    virtual bool skip(double seconds) = 0;
    virtual bool skip_bytes(std::int64_t units) = 0;

protected:
    // Truncates toward zero, saturating: times come from sliders and files.
    static std::int64_t truncate(double value);
};

}
