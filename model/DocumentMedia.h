#pragma once

#include "audio/chains/PlayChain.h"
#include "audio/chains/RecordChain.h"

#include <cstdint>
#include <memory>
#include <string>

class RangeMarkList;

// Where the document gets the chains of the files it plays and records, and
// how it puts a finished file in place of another. The program uses the
// engine's factories and the file system; tests hand in their own.
class DocumentMedia {
public:
    virtual ~DocumentMedia() = default;

    // open_play_chain: the whole file without bookmarks, else only its played segments.
    virtual std::unique_ptr<audio::PlayChain> open_play_chain(
        const std::u16string& path, const RangeMarkList* bookmarks);
    // audio::create_record_chain.
    virtual std::unique_ptr<audio::RecordChain> create_record_chain(const std::u16string& path,
        const std::u16string& format_name, std::int32_t channels, std::int32_t bits_per_sample,
        std::int32_t sample_rate, std::int32_t bitrate, bool append);
    // Gives the file `from` the name `to` in one step, replacing what was
    // there: `to` is either its old self or the whole new file.
    virtual bool replace_file(const std::u16string& from, const std::u16string& to);
};
