#include "bench/support/Av.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
}

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace bench::av {

namespace {

[[noreturn]] void fail(const char* what)
{
    std::fprintf(stderr, "FFmpeg reference: %s\n", what);
    std::abort();
}

// An opened file with its first audio stream.
struct Input {
    AVFormatContext* format = nullptr;
    int stream = -1;

    explicit Input(const std::string& path)
    {
        av_log_set_level(AV_LOG_QUIET);
        if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) < 0
            || avformat_find_stream_info(format, nullptr) < 0)
            fail("cannot open the input");
        stream = av_find_best_stream(format, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
        if (stream < 0)
            fail("no audio stream");
    }

    ~Input() { avformat_close_input(&format); }

    const AVCodecParameters* parameters() const { return format->streams[stream]->codecpar; }
};

AVCodecContext* open_codec(const AVCodec* codec, const AVCodecParameters* parameters)
{
    AVCodecContext* context = codec ? avcodec_alloc_context3(codec) : nullptr;
    if (!context || (parameters && avcodec_parameters_to_context(context, parameters) < 0))
        fail("no such codec");
    return context;
}

}

std::size_t decode_file(const std::string& path, const char* decoder)
{
    Input in(path);
    const AVCodec* codec
        = decoder ? avcodec_find_decoder_by_name(decoder) : avcodec_find_decoder(in.parameters()->codec_id);
    AVCodecContext* context = open_codec(codec, in.parameters());
    if (avcodec_open2(context, codec, nullptr) < 0)
        fail("cannot open the decoder");
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    std::size_t frames = 0;
    auto drain = [&] {
        while (avcodec_receive_frame(context, frame) == 0) {
            frames += std::size_t(frame->nb_samples);
            av_frame_unref(frame);
        }
    };
    while (av_read_frame(in.format, packet) >= 0) {
        if (packet->stream_index == in.stream && avcodec_send_packet(context, packet) >= 0)
            drain();
        av_packet_unref(packet);
    }
    avcodec_send_packet(context, nullptr);
    drain();
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&context);
    return frames;
}

std::size_t read_packets(const std::string& path)
{
    Input in(path);
    AVPacket* packet = av_packet_alloc();
    std::size_t bytes = 0;
    while (av_read_frame(in.format, packet) >= 0) {
        if (packet->stream_index == in.stream)
            bytes += std::size_t(packet->size);
        av_packet_unref(packet);
    }
    av_packet_free(&packet);
    return bytes;
}

void encode_file(const std::string& path, const std::string& target, const char* encoder, int block_size)
{
    Input in(path);
    const AVCodecParameters* source = in.parameters();
    const AVCodec* codec = avcodec_find_encoder_by_name(encoder);
    AVCodecContext* context = open_codec(codec, nullptr);
    context->sample_rate = source->sample_rate;
    av_channel_layout_default(&context->ch_layout, source->ch_layout.nb_channels);
    context->sample_fmt = codec->sample_fmts ? codec->sample_fmts[0] : AV_SAMPLE_FMT_S16;
    if (block_size > 0)
        context->block_align = block_size;
    if (avcodec_open2(context, codec, nullptr) < 0)
        fail("cannot open the encoder");
    const int channels = context->ch_layout.nb_channels;
    const int per_frame = context->frame_size > 0 ? context->frame_size : 1024;
    const bool planar = av_sample_fmt_is_planar(context->sample_fmt);

    FILE* out = std::fopen(target.c_str(), "wb");
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    std::vector<std::int16_t> pending;
    auto write_packets = [&] {
        while (avcodec_receive_packet(context, packet) == 0) {
            std::fwrite(packet->data, 1, std::size_t(packet->size), out);
            av_packet_unref(packet);
        }
    };
    auto send = [&](int count) {
        frame->nb_samples = count;
        frame->format = context->sample_fmt;
        av_channel_layout_copy(&frame->ch_layout, &context->ch_layout);
        frame->sample_rate = context->sample_rate;
        if (av_frame_get_buffer(frame, 0) < 0)
            fail("no frame buffer");
        for (int i = 0; i < count; ++i) {
            for (int c = 0; c < channels; ++c) {
                std::int16_t v = pending[std::size_t(i * channels + c)];
                if (planar)
                    reinterpret_cast<std::int16_t*>(frame->data[c])[i] = v;
                else
                    reinterpret_cast<std::int16_t*>(frame->data[0])[i * channels + c] = v;
            }
        }
        pending.erase(pending.begin(), pending.begin() + count * channels);
        if (avcodec_send_frame(context, frame) >= 0)
            write_packets();
        av_frame_unref(frame);
    };
    while (av_read_frame(in.format, packet) >= 0) {
        if (packet->stream_index == in.stream) {
            const auto* samples = reinterpret_cast<const std::int16_t*>(packet->data);
            pending.insert(pending.end(), samples, samples + packet->size / 2);
            while (pending.size() >= std::size_t(per_frame * channels))
                send(per_frame);
        }
        av_packet_unref(packet);
    }
    avcodec_send_frame(context, nullptr);
    write_packets();
    std::fclose(out);
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&context);
}

}
