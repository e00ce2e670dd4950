#pragma once

#include "audio/chains/ChainFactory.h"
#include "audio/chains/RecordChain.h"
#include "audio/devices/ActiveBuffer.h"
#include "audio/readers/FileReaderWAVPCM.h"
#include "audio/writers/FileWriterWAVPCM.h"
#include "model/DocumentMedia.h"
#include "model/RecordingDrain.h"
#include "tests/audio/FullDisk.h"
#include "tests/audio/devices/DeviceDoubles.h"

#include <functional>
#include <memory>
#include <set>
#include <string>

namespace test {

// A PCM WAV record chain whose writer opens its file through the opener:
// a full disk, say.
class OpenedChainWAV : public audio::RecordChain {
public:
    OpenedChainWAV(const std::u16string& path, audio::FileWriter::Opener opener)
        : m_writer(std::make_unique<audio::FileWriterWAVPCM>(path, false, std::move(opener)))
    {
    }

    ~OpenedChainWAV() override { unlink_upstream<audio::PCMData>(*m_writer); }

    audio::Encoder* get_encoder() override { return m_writer.get(); }

    audio::Consumer<audio::PCMData>* get_input() override { return m_writer.get(); }

    audio::FileWriter* get_writer() override { return m_writer.get(); }

    std::u16string get_format_name() override { return u"PCM"; }

    using RecordChain::connect_reader;

    bool connect_reader(audio::FileReaderWAVPCM* reader) override
    {
        audio::connect<audio::PCMData>(reader, m_writer.get());
        return true;
    }

private:
    std::unique_ptr<audio::FileWriterWAVPCM> m_writer;
};

// A record chain that writes nothing: what reaches it waits in a sink the
// test holds and releases.
class SinkChain : public audio::RecordChain {
public:
    class Writer : public audio::FileWriter {
    public:
        explicit Writer(PcmSink& sink)
            : m_sink(sink)
        {
        }

        bool is_ok() override { return true; }

        std::int64_t get_data_size() override { return std::int64_t(m_sink.bytes().size()); }

    private:
        PcmSink& m_sink;
    };

    explicit SinkChain(PcmSink& sink)
        : m_sink(sink)
        , m_writer(sink)
    {
    }

    ~SinkChain() override { unlink_upstream<audio::PCMData>(m_sink); }

    audio::Encoder* get_encoder() override { return nullptr; }

    audio::Consumer<audio::PCMData>* get_input() override { return &m_sink; }

    audio::FileWriter* get_writer() override { return &m_writer; }

    std::u16string get_format_name() override { return u"PCM"; }

private:
    PcmSink& m_sink;
    Writer m_writer;
};

// The engine's chains, with failures on demand.
class FailingMedia : public DocumentMedia {
public:
    // Paths whose chains do not open.
    std::set<std::u16string> unreadable;
    // A new record chain writes at most this many bytes of its file; 0 for no limit.
    std::uint64_t disk_room = 0;
    // A new record chain, in any coding, writes nothing at all.
    bool disk_full = false;
    bool rename_fails = false;

    std::unique_ptr<audio::PlayChain> open_play_chain(
        const std::u16string& path, const RangeMarkList* bookmarks) override
    {
        if (unreadable.count(path))
            return nullptr;
        return DocumentMedia::open_play_chain(path, bookmarks);
    }

    std::unique_ptr<audio::RecordChain> create_record_chain(const std::u16string& path,
        const std::u16string& format_name, std::int32_t channels, std::int32_t bits, std::int32_t rate,
        std::int32_t bitrate, bool append) override
    {
        if (disk_full && !append)
            return audio::create_record_chain(
                path, format_name, channels, bits, rate, bitrate, false, full_disk(0));
        if (disk_room && format_name == u"PCM" && !append)
            return std::make_unique<OpenedChainWAV>(path, full_disk(disk_room));
        return DocumentMedia::create_record_chain(path, format_name, channels, bits, rate, bitrate, append);
    }

    bool replace_file(const std::u16string& from, const std::u16string& to) override
    {
        return !rename_fails && DocumentMedia::replace_file(from, to);
    }
};

// Drains as the default does, and tells which way it was asked to.
class WatchedDrain : public RecordingDrain {
public:
    std::vector<std::string> calls;
    // Set to let a held sink go when the drain begins.
    PcmSink* held = nullptr;

    void run_completion_form(skinner::Form&, audio::ActiveBuffer& buffer) override
    {
        calls.push_back("form " + std::to_string(queued(buffer)));
        finish(buffer);
    }

    void wait(audio::ActiveBuffer& buffer) override
    {
        calls.push_back("wait " + std::to_string(queued(buffer)));
        finish(buffer);
    }

private:
    static int queued(audio::ActiveBuffer& buffer) { return buffer.get_queued_bytes(); }

    void finish(audio::ActiveBuffer& buffer)
    {
        if (held)
            held->release();
        poll(buffer);
    }
};

}
