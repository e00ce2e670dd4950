#pragma once

#include "audio/readers/WAVInfoADPCM.h"
#include "audio/readers/WAVInfoGSM.h"

#include <cstdint>
#include <string>

// Helpers for making and damaging WAV files in tests.
namespace test {

inline std::string le16(std::uint16_t v)
{
    return { char(v & 0xFF), char(v >> 8) };
}

inline std::string le32(std::uint32_t v)
{
    return le16(std::uint16_t(v & 0xFFFF)) + le16(std::uint16_t(v >> 16));
}

inline std::uint32_t read_le32(const std::string& bytes, std::size_t at)
{
    auto b = [&](std::size_t i) { return std::uint32_t(std::uint8_t(bytes.at(at + i))); };
    return b(0) | b(1) << 8 | b(2) << 16 | b(3) << 24;
}

inline std::uint16_t read_le16(const std::string& bytes, std::size_t at)
{
    return std::uint16_t(std::uint8_t(bytes.at(at)) | std::uint8_t(bytes.at(at + 1)) << 8);
}

// A chunk with its identifier and size; pad adds RIFF's zero byte after an odd body.
inline std::string chunk(const std::string& id, const std::string& body, bool pad = false)
{
    std::string out = id + le32(std::uint32_t(body.size())) + body;
    if (pad && body.size() % 2)
        out += '\0';
    return out;
}

inline std::string patched(std::string bytes, std::size_t at, const std::string& with)
{
    bytes.replace(at, with.size(), with);
    return bytes;
}

inline std::string inserted(std::string bytes, std::size_t at, const std::string& what)
{
    bytes.insert(at, what);
    return bytes;
}

// A PCM WAV file in the plain 44-byte layout around the given samples.
inline std::string pcm_wav(int channels, int rate, int bits, const std::string& samples)
{
    auto align = std::uint16_t(channels * ((bits + 7) / 8));
    std::string fmt = le16(1) + le16(std::uint16_t(channels)) + le32(std::uint32_t(rate))
        + le32(std::uint32_t(rate) * align) + le16(align) + le16(std::uint16_t(bits));
    std::string body = "WAVE" + chunk("fmt ", fmt) + chunk("data", samples);
    return "RIFF" + le32(std::uint32_t(body.size())) + body;
}

// Header records in the standard layout of each coding.
inline audio::WAVInfoADPCM adpcm_info(
    int channels, int rate, int block_align, int samples_per_block, std::uint32_t fact)
{
    audio::WAVInfoADPCM info;
    info.format_tag = 2;
    info.channels = channels;
    info.sample_rate = rate;
    info.bits_per_sample = 4;
    info.block_align = std::uint16_t(block_align);
    info.avg_bytes_per_sec = std::uint32_t(rate * block_align / samples_per_block);
    info.fmt_size = 50;
    info.samples_per_block = std::uint16_t(samples_per_block);
    info.coefficients.resize(7);
    info.fact_samples = fact;
    return info;
}

inline audio::WAVInfoGSM gsm_info(std::uint32_t fact)
{
    audio::WAVInfoGSM info;
    info.format_tag = 49;
    info.channels = 1;
    info.sample_rate = 8000;
    info.block_align = 65;
    info.avg_bytes_per_sec = 1625;
    info.fmt_size = 20;
    info.samples_per_block = 320;
    info.fact_samples = fact;
    return info;
}

}
