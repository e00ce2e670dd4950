#include "audio/readers/WAVInfoPCMWide.h"

#include "os/File.h"

namespace audio {

namespace {

constexpr std::uint16_t tag_pcm = 1;
constexpr std::uint16_t tag_float = 3;
constexpr std::uint16_t tag_extensible = 0xFFFE;
// cbSize, valid bits, channel mask and the sub-format's identifier.
constexpr std::uint32_t extensible_fmt_size = 40;

}

bool WAVInfoPCMWide::read_extension(os::File& file)
{
    coding = format_tag;
    if (format_tag == tag_extensible) {
        std::uint16_t extra = 0, valid_bits = 0, sub_format = 0;
        std::uint32_t channel_mask = 0;
        if (fmt_size < extensible_fmt_size || !read_u16(file, extra) || !read_u16(file, valid_bits)
            || !read_u32(file, channel_mask) || !read_u16(file, sub_format))
            return false;
        coding = sub_format;
    }
    if (coding != tag_pcm && coding != tag_float)
        return false;
    // The player and the filters take one or two channels; plain tag 1 stays as it always was.
    if (format_tag != tag_pcm && channels > 2)
        return false;
    if (coding == tag_float && bits_per_sample != 32 && bits_per_sample != 64)
        return false;
    // Narrowing reads each sample where its width puts it inside the frame. A
    // plain tag 1 header it cannot read so stays as it always was: handed out
    // as stored (the writers append to such files too).
    const std::int64_t sample_bytes = (bits_per_sample + 7) / 8;
    const bool wide = coding == tag_float || bits_per_sample > 16;
    const bool readable = bits_per_sample % 8 == 0 && block_align >= channels * sample_bytes;
    if (wide && !readable && format_tag != tag_pcm)
        return false;
    narrow = wide && readable;
    return channels > 0 && bits_per_sample > 0 && sample_rate > 0 && block_align > 0 && skip_rest_of_fmt(file);
}

}
