#pragma once

#include "model/ipc/CSerializable.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

class Document;

// The player's state as the Today item shows it: 556 bytes, little-endian,
// in field order. On the stack the record lies in that order, so its last
// field is on top. A default record is the idle one.
class COrvantaStatus : public CSerializable {
public:
    static constexpr std::uint32_t record_size = 556;
    static constexpr std::size_t path_units = 260;

    // state
    static constexpr std::int32_t idle = 1;
    static constexpr std::int32_t playing = 2;
    static constexpr std::int32_t recording = 3;
    static constexpr std::int32_t playing_paused = 4;
    static constexpr std::int32_t recording_paused = 5;
    // format
    static constexpr std::int32_t format_mp3 = 0;
    static constexpr std::int32_t format_wav = 1; // PCM, ADPCM or GSM
    static constexpr std::int32_t format_other = 2;
    // stereo
    static constexpr std::int32_t mono = 0;
    static constexpr std::int32_t two_channels = 1;
    static constexpr std::int32_t no_channels = 2;

    // What plays, else what records, as the document tells it.
    static COrvantaStatus from_document(Document& document);

    std::int32_t state = idle;
    std::array<char16_t, path_units> path {}; // zero-padded; no zero when it fills all
    std::int32_t length = -1; // the reader's units
    std::int32_t position = -1;
    std::int32_t format = format_other;
    std::int32_t sample_rate = 0;
    std::int32_t bits_per_sample = 0;
    std::int32_t bitrate_kbps = 0;
    std::int32_t stereo = no_channels;
    std::int32_t position_ms = 0;

    // Cut to path_units, never between the two halves of a character.
    void set_path(std::u16string_view text);
    // Up to the first zero.
    std::u16string get_path() const;

    // The record's bytes, in order.
    std::array<unsigned char, record_size> to_bytes() const;
    static COrvantaStatus from_bytes(const unsigned char* bytes);

    bool Read(CCommClipboard& clipboard) override;
    bool Write(CCommClipboard& clipboard) const override;
};
