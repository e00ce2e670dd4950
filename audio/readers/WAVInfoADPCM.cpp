#include "audio/readers/WAVInfoADPCM.h"

#include "os/File.h"

namespace audio {

bool WAVInfoADPCM::read_extension(os::File& file)
{
    if (format_tag != 2)
        return false;
    std::uint16_t extension_size, pairs;
    if (!read_u16(file, extension_size) || !read_u16(file, samples_per_block) || !read_u16(file, pairs))
        return false;
    std::vector<std::uint8_t> table(std::size_t(pairs) * 4);
    coefficients.assign(pairs, {});
    if (file.read(table.data(), table.size()) != table.size())
        return false;
    auto value = [&](std::size_t at) { return std::int16_t(table[at] | table[at + 1] << 8); };
    for (std::size_t i = 0; i < pairs; ++i)
        coefficients[i] = { value(4 * i), value(4 * i + 2) };
    if (!skip_rest_of_fmt(file) || !read_fact(file, fact_samples, has_fact))
        return false;
    // A block holds at least its 7-byte header per channel; the readers divide
    // by the rate, the block size and the samples per block.
    return (channels == 1 || channels == 2) && bits_per_sample == 4 && pairs == 7 && sample_rate > 0
        && samples_per_block > 0 && block_align >= 7 * channels;
}

bool WAVInfoADPCM::write_extension(os::File& file)
{
    auto pairs = static_cast<std::uint16_t>(coefficients.size());
    if (!write_u16(file, static_cast<std::uint16_t>((pairs + 1) * 4)) || !write_u16(file, samples_per_block)
        || !write_u16(file, pairs))
        return false;
    for (const auto& pair : coefficients) {
        if (!write_u16(file, static_cast<std::uint16_t>(pair.coef1))
            || !write_u16(file, static_cast<std::uint16_t>(pair.coef2)))
            return false;
    }
    return write_fact(file, fact_samples);
}

}
