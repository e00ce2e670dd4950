#pragma once

#include "audio/readers/FileReader.h"
#include "model/Document.h"
#include "model/DocumentMedia.h"
#include "model/PlaybackPath.h"
#include "model/RecordingSession.h"
#include "platform/core/FileAssociations.h"
#include "platform/core/Service.h"
#include "platform/core/headless/FakeTimedStart.h"
#include "platform/core/headless/MemoryFileAssociations.h"
#include "platform/media/WaveDriver.h"
#include "platform/media/headless/SilentSoundPlayer.h"
#include "tests/support/EnvironmentOverride.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace test {

// A reader that plays nothing: its position, length and end are the test's.
class FakeReader : public audio::FileReader, public audio::Provider<audio::PCMData> {
public:
    // Units per second.
    static constexpr double rate = 1000.0;

    std::int64_t length = 10000;
    std::int64_t position = 0;
    bool end = false;
    bool open = true;
    int bitrate = 128000;
    std::vector<std::int64_t> seeks;

    audio::PCMData get_data(std::int32_t) override { return {}; }

    bool is_open() override { return open; }

    bool is_end() override { return end || !open; }

    int get_channels() override { return 2; }

    int get_bits_per_sample() override { return 16; }

    int get_sample_rate() override { return 44100; }

    int get_bitrate() override { return bitrate; }

    std::int64_t time_to_bytes(double seconds) override { return std::int64_t(seconds * rate); }

    double bytes_to_time(std::int64_t units) override { return double(units) / rate; }

    std::int64_t get_length_bytes() override { return length; }

    std::int64_t get_position_bytes() override { return position; }

    void seek_bytes(std::int64_t units) override
    {
        seeks.push_back(units);
        position = units;
    }

    bool skip(double) override { return false; }

    bool skip_bytes(std::int64_t) override { return false; }
};

// A chain over a fake reader; one that plays itself (no PCM output) stands
// for the handheld's media player.
class FakeChain : public audio::PlayChain {
public:
    explicit FakeChain(std::shared_ptr<FakeReader> reader, bool pcm, std::u16string title)
        : m_reader(std::move(reader))
        , m_pcm(pcm)
        , m_title(std::move(title))
    {
    }

    ~FakeChain() override { audio::connect<audio::PCMData>(m_reader.get(), nullptr); }

    audio::Provider<audio::PCMData>* get_output() override { return m_reader.get(); }

    audio::FileReader* get_reader() override { return m_reader.get(); }

    void set_paused(bool paused) override { m_reader->seeks.push_back(paused ? -1 : -2); }

    bool is_paused() override { return !m_reader->seeks.empty() && m_reader->seeks.back() == -1; }

    bool has_pcm_output() override { return m_pcm; }

    std::u16string get_format_name() override { return m_pcm ? u"PCM" : u"WMA"; }

    std::u16string get_title() override { return m_title; }

private:
    std::shared_ptr<FakeReader> m_reader;
    bool m_pcm;
    std::u16string m_title;
};

// Opens fake chains for the paths it knows; the test keeps the readers. A
// path named "*.wma" plays itself; unknown paths do not open.
class FakeMedia : public DocumentMedia {
public:
    std::map<std::u16string, std::shared_ptr<FakeReader>> readers;
    std::vector<std::u16string> opened;

    std::shared_ptr<FakeReader> add(const std::u16string& path)
    {
        auto reader = std::make_shared<FakeReader>();
        readers[path] = reader;
        return reader;
    }

    std::unique_ptr<audio::PlayChain> open_play_chain(
        const std::u16string& path, const RangeMarkList*) override
    {
        opened.push_back(path);
        auto found = readers.find(path);
        if (found == readers.end())
            return nullptr;
        found->second->end = false;
        found->second->position = 0;
        return std::make_unique<FakeChain>(found->second, !path.ends_with(u".wma"), u"fake " + path);
    }
};

inline std::vector<playlist::Entry> entries(const std::vector<std::u16string>& paths)
{
    std::vector<playlist::Entry> list;
    for (const auto& path : paths) {
        playlist::Entry entry;
        entry.path = path;
        list.push_back(entry);
    }
    return list;
}

// A document in a folder of its own, with every platform service doubled:
// no wave device opens unless a test installs a driver, nothing sounds, no
// timed start runs and no desktop association changes.
class DocumentTest : public ::testing::Test {
protected:
    DocumentTest()
        : app("ORVANTA_APP_PATH", dir.path().c_str())
        , home("HOME", dir.path().c_str())
        , documents("XDG_CONFIG_HOME", dir.file("config").c_str())
    {
    }

    // The fake media in place; the document owns it, the test keeps a pointer.
    FakeMedia& fake_media(Document& document)
    {
        auto media = std::make_unique<FakeMedia>();
        FakeMedia& kept = *media;
        document.set_media(std::move(media));
        return kept;
    }

    // The fake media with a reader for each path, and the paths as the play list.
    FakeMedia& fake_list(Document& document, const std::vector<std::u16string>& paths)
    {
        FakeMedia& media = fake_media(document);
        for (const auto& path : paths)
            media.add(path);
        document.set_play_list(u"/m/", entries(paths), 0, false);
        return media;
    }

    TempDir dir;
    EnvironmentOverride app;
    EnvironmentOverride home;
    EnvironmentOverride documents;
    using MemoryFileAssociations = platform::headless::MemoryFileAssociations;
    platform::ScopedService<platform::FileAssociations, MemoryFileAssociations> associations {
        platform::file_associations_slot()
    };
    platform::ScopedService<platform::TimedStart, platform::headless::FakeTimedStart> timed_start {
        platform::timed_start_slot()
    };
    platform::ScopedService<platform::SoundPlayer, platform::headless::SilentSoundPlayer> sounds {
        platform::sound_player_slot()
    };
};

// Keeps every notification it receives.
class RecordingView : public Document::View {
public:
    std::vector<Document::Changes> seen;

    void update(const Document::Changes& changes) override { seen.push_back(changes); }
};

}
