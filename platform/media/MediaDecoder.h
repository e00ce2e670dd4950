#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

// Decoding of the media formats the program does not decode itself: the WMA
// family (v1, v2, Pro, Lossless, Voice), into 16-bit PCM.
namespace platform {

// Where a decoder takes its bytes from; positions count from the start.
class MediaSource {
public:
    virtual ~MediaSource() = default;
    // Bytes read; 0 at the end or on failure.
    virtual std::size_t read(void* buffer, std::size_t count) = 0;
    virtual bool seek(std::uint64_t position) = 0;
    virtual std::uint64_t tell() = 0;
    virtual std::uint64_t size() = 0;
};

class MediaDecoder {
public:
    // Null unless the source is a WMA file with a stream it can decode. The
    // source must outlive the decoder.
    static std::unique_ptr<MediaDecoder> open(MediaSource& source);

    virtual ~MediaDecoder() = default;

    // The output: interleaved 16-bit samples, one or two channels (more are
    // mixed down to two), at the stream's own rate.
    virtual int get_channels() const = 0;
    virtual int get_sample_rate() const = 0;
    // Bits per second of the stored stream; 0 when unknown.
    virtual int get_bitrate() const = 0;
    // The stated duration in milliseconds; 0 when unknown.
    virtual std::int64_t get_duration_ms() const = 0;

    // Decodes up to frames sample frames into out (channels x frames
    // samples); fewer only at the end. 0 at the end of the stream or when the
    // rest cannot be decoded.
    virtual std::int32_t read(std::int16_t* out, std::int32_t frames) = 0;
    // Goes to the sample frame; the next read starts there, as near as the
    // stream's time stamps (milliseconds in WMA files) tell.
    virtual bool seek(std::int64_t frame) = 0;
    // Sample frames from the start to the next read.
    virtual std::int64_t get_position() const = 0;
    virtual bool is_end() const = 0;
};

}
