#include "model/DocumentMedia.h"

#include "audio/chains/ChainFactory.h"
#include "model/PlayChainFactory.h"
#include "os/FileSystem.h"

std::unique_ptr<audio::PlayChain> DocumentMedia::open_play_chain(
    const std::u16string& path, const RangeMarkList* bookmarks)
{
    return ::open_play_chain(path, bookmarks);
}

std::unique_ptr<audio::RecordChain> DocumentMedia::create_record_chain(const std::u16string& path,
    const std::u16string& format_name, std::int32_t channels, std::int32_t bits_per_sample,
    std::int32_t sample_rate, std::int32_t bitrate, bool append)
{
    return audio::create_record_chain(
        path, format_name, channels, bits_per_sample, sample_rate, bitrate, append);
}

bool DocumentMedia::replace_file(const std::u16string& from, const std::u16string& to)
{
    return os::replace_file(from, to);
}
