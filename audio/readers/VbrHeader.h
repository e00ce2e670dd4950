#pragma once

#include "audio/readers/MpegHeader.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace audio {

// The frame an encoder puts in front of a variable-bitrate Layer III stream
// (Xing, LAME's "Info", Fraunhofer's VBRI): it holds no audio, but the
// stream's frame count, its size and a table of where each stretch of time
// begins. Offsets count bytes from the header frame's first byte.
class VbrHeader {
public:
    // Reads the frame at `frame` (`size` bytes of it at hand, its header
    // parsed as `header`); `available` is what the stream can hold after it,
    // for a header that does not give its size. False when it is no header frame.
    bool read(const std::uint8_t* frame, std::size_t size, const MpegHeader& header, std::int64_t available);

    // The stream's length, when the frame count is given; 0 otherwise.
    double duration() const { return m_duration; }

    std::int64_t stream_bytes() const { return m_bytes; }

    // Time and byte offset through the table, linear between its points.
    std::int64_t offset_at(double seconds) const;
    double time_at(std::int64_t offset) const;

private:
    struct Point {
        double seconds;
        double offset;
    };

    bool read_xing(const std::uint8_t* tag, const std::uint8_t* end, std::int64_t available);
    bool read_vbri(const std::uint8_t* tag, const std::uint8_t* end, std::int64_t available);
    void finish_table();

    double m_frame_seconds = 0;
    double m_duration = 0;
    std::int64_t m_bytes = 0;
    std::vector<Point> m_points;
};

}
