#include "model/ipc/COrvantaStatus.h"

#include "model/Document.h"
#include "model/ipc/CommBytes.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

struct CodecFormat {
    std::u16string_view codec;
    std::int32_t format;
};

constexpr CodecFormat codec_formats[] = {
    { u"mp3", COrvantaStatus::format_mp3 },
    { u"PCM", COrvantaStatus::format_wav },
    { u"ADPCM", COrvantaStatus::format_wav },
    { u"GSM", COrvantaStatus::format_wav },
};

// The record's words are 32 bits; larger values saturate rather than wrap.
std::int32_t word(std::int64_t value)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

std::int32_t milliseconds(double seconds)
{
    const double ms = std::trunc(seconds * 1000.0);
    if (std::isnan(ms))
        return 0;
    return static_cast<std::int32_t>(std::clamp<double>(
        ms, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

bool is_high_surrogate(char16_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

// Byte offsets of the fields.
constexpr std::size_t at_state = 0;
constexpr std::size_t at_path = 4;
constexpr std::size_t at_length = 524;

}

COrvantaStatus COrvantaStatus::from_document(Document& document)
{
    COrvantaStatus status;
    status.position_ms = milliseconds(document.get_position_seconds());
    const bool plays = document.is_playing();
    if (!plays && !document.is_recording())
        return status;
    const bool paused = document.is_paused();
    if (plays)
        status.state = paused ? playing_paused : playing;
    else
        status.state = paused ? recording_paused : recording;
    status.set_path(document.get_current_file());
    status.length = word(document.get_length());
    status.position = word(document.get_position());
    const std::u16string codec = document.get_codec();
    for (const auto& entry : codec_formats) {
        if (entry.codec == codec)
            status.format = entry.format;
    }
    status.sample_rate = document.get_sample_rate();
    status.bits_per_sample = document.get_bits_per_sample();
    status.bitrate_kbps = document.get_bitrate_kbps();
    status.stereo = document.is_stereo() ? two_channels : mono;
    return status;
}

void COrvantaStatus::set_path(std::u16string_view text)
{
    std::size_t units = std::min(text.size(), path_units);
    if (units < text.size() && units > 0 && is_high_surrogate(text[units - 1]))
        --units;
    path.fill(0);
    std::copy_n(text.begin(), units, path.begin());
}

std::u16string COrvantaStatus::get_path() const
{
    const auto end = std::find(path.begin(), path.end(), u'\0');
    return std::u16string(path.begin(), end);
}

std::array<unsigned char, COrvantaStatus::record_size> COrvantaStatus::to_bytes() const
{
    std::array<unsigned char, record_size> bytes {};
    comm_bytes::store(&bytes[at_state], static_cast<std::uint32_t>(state));
    for (std::size_t i = 0; i < path_units; ++i) {
        bytes[at_path + 2 * i] = static_cast<unsigned char>(path[i]);
        bytes[at_path + 2 * i + 1] = static_cast<unsigned char>(path[i] >> 8);
    }
    const std::int32_t words[]
        = { length, position, format, sample_rate, bits_per_sample, bitrate_kbps, stereo, position_ms };
    for (std::size_t i = 0; i < std::size(words); ++i)
        comm_bytes::store(&bytes[at_length + 4 * i], static_cast<std::uint32_t>(words[i]));
    return bytes;
}

COrvantaStatus COrvantaStatus::from_bytes(const unsigned char* bytes)
{
    COrvantaStatus status;
    status.state = static_cast<std::int32_t>(comm_bytes::load(&bytes[at_state]));
    for (std::size_t i = 0; i < path_units; ++i)
        status.path[i] = static_cast<char16_t>(bytes[at_path + 2 * i] | bytes[at_path + 2 * i + 1] << 8);
    std::int32_t* words[] = { &status.length, &status.position, &status.format, &status.sample_rate,
        &status.bits_per_sample, &status.bitrate_kbps, &status.stereo, &status.position_ms };
    for (std::size_t i = 0; i < std::size(words); ++i)
        *words[i] = static_cast<std::int32_t>(comm_bytes::load(&bytes[at_length + 4 * i]));
    return status;
}

bool COrvantaStatus::Read(CCommClipboard& clipboard)
{
    // The pieces come off last field first; taken at once, they lie in record order.
    std::array<unsigned char, record_size> bytes;
    if (!clipboard.Pop(bytes.data(), record_size))
        return false;
    *this = from_bytes(bytes.data());
    return true;
}

bool COrvantaStatus::Write(CCommClipboard& clipboard) const
{
    const auto bytes = to_bytes();
    return clipboard.Push(bytes.data(), record_size);
}
