#include "platform/media/MediaDecoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
}

#include <algorithm>
#include <cstring>
#include <mutex>
#include <vector>

namespace platform {

namespace {

constexpr int io_buffer_size = 32768;
// A seek starts decoding this far before the target, so the decoder's
// overlap is primed again when the target's samples come out.
constexpr std::int64_t seek_preroll_frames = 8192;
// Decoding errors in a row after which the rest of a file counts as lost.
constexpr int max_errors_in_row = 64;

// How much of a file's end is read to find its last packet when its header
// states no duration.
constexpr std::int64_t duration_scan_bytes = 1 << 20;

bool is_wma(AVCodecID id)
{
    switch (id) {
    case AV_CODEC_ID_WMAV1:
    case AV_CODEC_ID_WMAV2:
    case AV_CODEC_ID_WMAPRO:
    case AV_CODEC_ID_WMALOSSLESS:
    case AV_CODEC_ID_WMAVOICE:
        return true;
    default:
        return false;
    }
}

int read_packet(void* opaque, std::uint8_t* buffer, int size)
{
    std::size_t got = static_cast<MediaSource*>(opaque)->read(buffer, static_cast<std::size_t>(size));
    return got ? static_cast<int>(got) : AVERROR_EOF;
}

std::int64_t seek_source(void* opaque, std::int64_t offset, int whence)
{
    auto* source = static_cast<MediaSource*>(opaque);
    whence &= ~AVSEEK_FORCE;
    if (whence == AVSEEK_SIZE)
        return static_cast<std::int64_t>(source->size());
    std::int64_t base = 0;
    if (whence == SEEK_CUR)
        base = static_cast<std::int64_t>(source->tell());
    else if (whence == SEEK_END)
        base = static_cast<std::int64_t>(source->size());
    else if (whence != SEEK_SET)
        return -1;
    std::int64_t target = base + offset;
    if (target < 0 || !source->seek(static_cast<std::uint64_t>(target)))
        return -1;
    return target;
}

// The ASF container on a source, read from its start.
struct Container {
    AVIOContext* io = nullptr;
    AVFormatContext* format = nullptr;

    Container() = default;
    Container(const Container&) = delete;
    Container& operator=(const Container&) = delete;

    ~Container()
    {
        avformat_close_input(&format);
        if (io)
            av_freep(&io->buffer);
        avio_context_free(&io);
    }

    bool open(MediaSource& source)
    {
        auto* buffer = static_cast<unsigned char*>(av_malloc(io_buffer_size));
        if (!buffer)
            return false;
        io = avio_alloc_context(buffer, io_buffer_size, 0, &source, read_packet, nullptr, seek_source);
        if (!io) {
            av_free(buffer);
            return false;
        }
        format = avformat_alloc_context();
        if (!format)
            return false;
        format->pb = io;
        format->flags |= AVFMT_FLAG_CUSTOM_IO;
        // Only the WMA container is parsed, whatever the bytes look like.
        const AVInputFormat* asf = av_find_input_format("asf");
        return asf && avformat_open_input(&format, nullptr, asf, nullptr) >= 0; // frees format on failure
    }
};

// The stream's span by the stamps of its first and last packets, in the
// stream's time base; 0 when it has none. Reads a second copy of the
// container from the source's start, then leaves the source as it found it.
std::int64_t measure_span(MediaSource& source, int stream)
{
    std::uint64_t resume = source.tell();
    std::int64_t first = AV_NOPTS_VALUE;
    std::int64_t end = AV_NOPTS_VALUE;
    {
        Container scan;
        AVPacket* packet = av_packet_alloc();
        if (packet && source.seek(0) && scan.open(source) && stream < int(scan.format->nb_streams)) {
            auto take = [&] {
                if (packet->stream_index == stream && packet->pts != AV_NOPTS_VALUE) {
                    std::int64_t until = packet->pts + std::max<std::int64_t>(packet->duration, 0);
                    first = first == AV_NOPTS_VALUE ? packet->pts : std::min(first, packet->pts);
                    end = end == AV_NOPTS_VALUE ? until : std::max(end, until);
                }
                av_packet_unref(packet);
            };
            std::int64_t data_start = avio_tell(scan.io);
            while (first == AV_NOPTS_VALUE && av_read_frame(scan.format, packet) >= 0)
                take();
            // Packets have one size: the scan may start at any packet near the end.
            std::int64_t size = static_cast<std::int64_t>(source.size());
            std::int64_t packet_size = scan.format->packet_size;
            if (packet_size > 0 && size - duration_scan_bytes > avio_tell(scan.io)) {
                std::int64_t from
                    = data_start + (size - duration_scan_bytes - data_start) / packet_size * packet_size;
                av_seek_frame(scan.format, -1, from, AVSEEK_FLAG_BYTE);
            }
            while (av_read_frame(scan.format, packet) >= 0)
                take();
        }
        av_packet_free(&packet);
    }
    source.seek(resume);
    return first == AV_NOPTS_VALUE || end <= first ? 0 : end - first;
}

class FfmpegDecoder final : public MediaDecoder {
public:
    ~FfmpegDecoder() override
    {
        swr_free(&m_resampler);
        av_channel_layout_uninit(&m_in_layout);
        av_frame_free(&m_frame);
        av_packet_free(&m_packet);
        avcodec_free_context(&m_codec);
    }

    bool open(MediaSource& source);

    int get_channels() const override { return m_channels; }
    int get_sample_rate() const override { return m_rate; }
    int get_bitrate() const override { return m_bitrate; }
    std::int64_t get_duration_ms() const override { return m_duration_ms; }
    std::int32_t read(std::int16_t* out, std::int32_t frames) override;
    bool seek(std::int64_t frame) override;
    std::int64_t get_position() const override { return m_position; }
    bool is_end() const override { return m_ended && buffered_frames() == 0; }

private:
    std::int64_t buffered_frames() const { return std::int64_t(m_samples.size() - m_start) / m_channels; }
    // Decodes the next frame into m_samples; false at the end.
    bool decode_more();
    bool convert(const AVFrame& frame);
    // Sample frames from the start to where the frame begins, by its stamp.
    std::int64_t frame_start(const AVFrame& frame) const;

    Container m_container;
    AVFormatContext* m_format = nullptr; // the container's
    AVCodecContext* m_codec = nullptr;
    SwrContext* m_resampler = nullptr;
    AVPacket* m_packet = nullptr;
    AVFrame* m_frame = nullptr;
    int m_stream = -1;
    int m_channels = 0;
    int m_rate = 0;
    int m_bitrate = 0;
    std::int64_t m_duration_ms = 0;
    // The resampler's input, to notice a change inside the stream.
    int m_in_format = -1;
    AVChannelLayout m_in_layout {};
    bool m_draining = false;
    bool m_ended = false;
    std::int64_t m_position = 0;
    // The stamp of the first decoded frame, where sample frame 0 lies.
    std::int64_t m_origin = AV_NOPTS_VALUE;
    // After a seek: the frame the output is to begin at, until it is found.
    std::int64_t m_seek_target = -1;
    std::vector<std::int16_t> m_samples;
    std::size_t m_start = 0;
};

bool FfmpegDecoder::open(MediaSource& source)
{
    if (!m_container.open(source))
        return false;
    m_format = m_container.format;

    for (unsigned i = 0; i < m_format->nb_streams; ++i) {
        const AVCodecParameters* par = m_format->streams[i]->codecpar;
        if (par->codec_type == AVMEDIA_TYPE_AUDIO && is_wma(par->codec_id)) {
            m_stream = static_cast<int>(i);
            break;
        }
    }
    if (m_stream < 0)
        return false;
    AVStream* stream = m_format->streams[m_stream];
    for (unsigned i = 0; i < m_format->nb_streams; ++i) {
        if (static_cast<int>(i) != m_stream)
            m_format->streams[i]->discard = AVDISCARD_ALL;
    }
    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!codec)
        return false;
    m_codec = avcodec_alloc_context3(codec);
    if (!m_codec || avcodec_parameters_to_context(m_codec, stream->codecpar) < 0)
        return false;
    m_codec->pkt_timebase = stream->time_base;
    if (avcodec_open2(m_codec, codec, nullptr) < 0)
        return false;
    int channels = m_codec->ch_layout.nb_channels;
    if (channels <= 0 || m_codec->sample_rate <= 0)
        return false;
    m_channels = std::min(channels, 2);
    m_rate = m_codec->sample_rate;
    std::int64_t bitrate = stream->codecpar->bit_rate > 0 ? stream->codecpar->bit_rate : m_format->bit_rate;
    m_bitrate = static_cast<int>(std::clamp<std::int64_t>(bitrate, 0, INT32_MAX));
    if (m_format->duration > 0)
        m_duration_ms = av_rescale(m_format->duration, 1000, AV_TIME_BASE);
    else if (stream->duration > 0)
        m_duration_ms = av_rescale_q(stream->duration, stream->time_base, AVRational { 1, 1000 });
    else // a file cut short, say: as long as its packets reach
        m_duration_ms
            = av_rescale_q(measure_span(source, m_stream), stream->time_base, AVRational { 1, 1000 });
    m_packet = av_packet_alloc();
    m_frame = av_frame_alloc();
    if (!m_packet || !m_frame)
        return false;
    // The first frame fixes the origin of the stamps, so a seek before any
    // read lands right too.
    decode_more();
    return true;
}

std::int64_t FfmpegDecoder::frame_start(const AVFrame& frame) const
{
    AVStream* stream = m_format->streams[m_stream];
    std::int64_t pts = frame.best_effort_timestamp;
    if (pts == AV_NOPTS_VALUE || m_origin == AV_NOPTS_VALUE)
        return -1;
    return av_rescale_q(pts - m_origin, stream->time_base, AVRational { 1, m_rate });
}

bool FfmpegDecoder::convert(const AVFrame& frame)
{
    if (frame.nb_samples <= 0)
        return true;
    if (!m_resampler || frame.format != m_in_format || av_channel_layout_compare(&frame.ch_layout, &m_in_layout)
        || frame.sample_rate != m_rate) {
        if (frame.sample_rate != m_rate || frame.ch_layout.nb_channels <= 0)
            return false;
        swr_free(&m_resampler);
        av_channel_layout_uninit(&m_in_layout);
        if (av_channel_layout_copy(&m_in_layout, &frame.ch_layout) < 0)
            return false;
        m_in_format = frame.format;
        AVChannelLayout out {};
        av_channel_layout_default(&out, m_channels);
        if (m_in_layout.order == AV_CHANNEL_ORDER_UNSPEC)
            av_channel_layout_default(&m_in_layout, m_in_layout.nb_channels);
        int made = swr_alloc_set_opts2(&m_resampler, &out, AV_SAMPLE_FMT_S16, m_rate, &m_in_layout,
            static_cast<AVSampleFormat>(m_in_format), m_rate, 0, nullptr);
        av_channel_layout_uninit(&out);
        if (made < 0 || swr_init(m_resampler) < 0) {
            swr_free(&m_resampler);
            return false;
        }
    }
    int room = swr_get_out_samples(m_resampler, frame.nb_samples);
    if (room <= 0)
        return false;
    // Keep the unread part at the front so the buffer does not grow.
    if (m_start > 0) {
        m_samples.erase(m_samples.begin(), m_samples.begin() + static_cast<std::ptrdiff_t>(m_start));
        m_start = 0;
    }
    std::size_t old_size = m_samples.size();
    m_samples.resize(old_size + std::size_t(room) * m_channels);
    auto* out = reinterpret_cast<std::uint8_t*>(m_samples.data() + old_size);
    int made = swr_convert(m_resampler, &out, room, const_cast<const std::uint8_t**>(frame.extended_data),
        frame.nb_samples);
    m_samples.resize(old_size + std::size_t(std::max(made, 0)) * m_channels);
    return made >= 0;
}

bool FfmpegDecoder::decode_more()
{
    for (int errors = 0; !m_ended && errors < max_errors_in_row;) {
        int received = avcodec_receive_frame(m_codec, m_frame);
        if (received == 0) {
            if (m_origin == AV_NOPTS_VALUE)
                m_origin = m_frame->best_effort_timestamp;
            std::int64_t start = frame_start(*m_frame);
            std::int64_t before = buffered_frames();
            bool ok = convert(*m_frame);
            av_frame_unref(m_frame);
            if (!ok) {
                ++errors;
                continue;
            }
            if (m_seek_target >= 0) {
                // Drop what lies before the target; a frame that starts
                // past it moves the position there.
                std::int64_t got = buffered_frames() - before;
                std::int64_t drop = start < 0 ? 0 : std::clamp<std::int64_t>(m_seek_target - start, 0, got);
                if (drop == got && start >= 0) {
                    m_samples.resize(m_samples.size() - std::size_t(got) * m_channels);
                    continue;
                }
                auto first = m_samples.begin() + static_cast<std::ptrdiff_t>(m_start + before * m_channels);
                m_samples.erase(first, first + static_cast<std::ptrdiff_t>(drop * m_channels));
                m_position = start < 0 ? m_seek_target : std::max(start, m_seek_target);
                m_seek_target = -1;
            }
            return true;
        }
        if (received == AVERROR_EOF) {
            m_ended = true;
            break;
        }
        if (received != AVERROR(EAGAIN)) {
            ++errors;
            continue;
        }
        if (m_draining) {
            m_ended = true;
            break;
        }
        int read = av_read_frame(m_format, m_packet);
        if (read < 0) {
            // The end, or a file cut short: what the decoder holds comes out.
            m_draining = true;
            avcodec_send_packet(m_codec, nullptr);
            continue;
        }
        if (m_packet->stream_index == m_stream) {
            if (avcodec_send_packet(m_codec, m_packet) < 0)
                ++errors;
            else
                errors = 0;
        }
        av_packet_unref(m_packet);
    }
    m_ended = true;
    return false;
}

std::int32_t FfmpegDecoder::read(std::int16_t* out, std::int32_t frames)
{
    if (frames <= 0)
        return 0;
    while (buffered_frames() < frames && decode_more()) { }
    std::int32_t n = static_cast<std::int32_t>(std::min<std::int64_t>(frames, buffered_frames()));
    if (n <= 0)
        return 0;
    std::size_t count = std::size_t(n) * m_channels;
    std::memcpy(out, m_samples.data() + m_start, count * sizeof(std::int16_t));
    m_start += count;
    if (m_start == m_samples.size()) {
        m_samples.clear();
        m_start = 0;
    }
    m_position += n;
    return n;
}

bool FfmpegDecoder::seek(std::int64_t frame)
{
    if (frame < 0)
        frame = 0;
    AVStream* stream = m_format->streams[m_stream];
    std::int64_t from = std::max<std::int64_t>(frame - seek_preroll_frames, 0);
    std::int64_t ts = av_rescale_q(from, AVRational { 1, m_rate }, stream->time_base);
    if (m_origin != AV_NOPTS_VALUE)
        ts += m_origin;
    if (av_seek_frame(m_format, m_stream, ts, AVSEEK_FLAG_BACKWARD) < 0
        && av_seek_frame(m_format, m_stream, ts, AVSEEK_FLAG_BACKWARD | AVSEEK_FLAG_ANY) < 0)
        return false;
    avcodec_flush_buffers(m_codec);
    m_samples.clear();
    m_start = 0;
    m_draining = false;
    m_ended = false;
    m_position = frame;
    m_seek_target = frame;
    return true;
}

}

}

// The entry that MediaDecoder::open calls, in the module or built in.
extern "C" __attribute__((visibility("default"))) platform::MediaDecoder* orvanta_media_open(
    platform::MediaSource* source)
{
    // The libraries' own messages would go to stderr; failures are results.
    static std::once_flag quiet;
    std::call_once(quiet, [] { av_log_set_level(AV_LOG_QUIET); });
    auto decoder = std::make_unique<platform::FfmpegDecoder>();
    if (!decoder->open(*source))
        return nullptr;
    return decoder.release();
}
