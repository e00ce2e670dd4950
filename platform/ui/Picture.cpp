#include "platform/ui/Picture.h"

#include <gif_lib.h>
#include <jpeglib.h>
#include <stb/stb_image.h>

#include <csetjmp>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <vector>
#include <cstring>

namespace platform {

namespace {

PictureResult failure(PictureError e)
{
    PictureResult r;
    r.error = e;
    return r;
}

bool starts_with(std::span<const std::uint8_t> bytes, std::string_view magic)
{
    return bytes.size() >= magic.size() && std::memcmp(bytes.data(), magic.data(), magic.size()) == 0;
}

bool size_allowed(std::int64_t w, std::int64_t h)
{
    return w <= max_picture_side && h <= max_picture_side && Bitmap::valid_size(w, h);
}

std::uint32_t le32(std::span<const std::uint8_t> b, std::size_t at)
{
    return std::uint32_t(b[at]) | std::uint32_t(b[at + 1]) << 8 | std::uint32_t(b[at + 2]) << 16
        | std::uint32_t(b[at + 3]) << 24;
}

std::uint16_t le16(std::span<const std::uint8_t> b, std::size_t at)
{
    return std::uint16_t(b[at] | b[at + 1] << 8);
}

// stb_image reads zeros past the end of a BMP; the header tells how much there must be.
std::optional<PictureError> check_bmp(std::span<const std::uint8_t> b)
{
    if (b.size() < 26)
        return PictureError::damaged;
    std::uint32_t offset = le32(b, 10);
    std::uint32_t header = le32(b, 14);
    std::int64_t width, height;
    std::uint32_t bits, compression = 0;
    if (header == 12) {
        width = le16(b, 18);
        height = le16(b, 20);
        bits = le16(b, 24);
    } else {
        if (header < 40 || b.size() < 34)
            return PictureError::damaged;
        width = std::int32_t(le32(b, 18));
        height = std::int32_t(le32(b, 22));
        bits = le16(b, 28);
        compression = le32(b, 30);
    }
    height = height < 0 ? -height : height;
    if (width <= 0 || height <= 0)
        return PictureError::damaged;
    if (!size_allowed(width, height))
        return PictureError::too_large;
    if (compression == 1 || compression == 2)
        return PictureError::unsupported;
    if (compression == 0 || compression == 3) {
        std::int64_t row = (width * bits + 31) / 32 * 4;
        if (std::int64_t(offset) + row * height > std::int64_t(b.size()))
            return PictureError::damaged;
    }
    return std::nullopt;
}

// A baseline or progressive JPEG ends with its end-of-image marker; a decoder
// would fill a truncated scan with grey.
bool jpeg_complete(std::span<const std::uint8_t> b)
{
    for (std::size_t i = b.size(); i >= 4; --i) {
        if (b[i - 2] == 0xFF && b[i - 1] == 0xD9)
            return true;
    }
    return false;
}

// libjpeg reports errors through a callback that must not return; it jumps back
// here. Nothing with a destructor lives between setjmp and the jump.
struct JpegErrors {
    jpeg_error_mgr manager;
    std::jmp_buf back;
    bool damaged = false;
};

void jpeg_fail(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->back, 1);
}

// A warning is corrupt data that libjpeg would paper over (truncated scans, bad
// Huffman codes): the picture is damaged.
void jpeg_warn(j_common_ptr info, int level)
{
    if (level < 0)
        reinterpret_cast<JpegErrors*>(info->err)->damaged = true;
}

// Decodes into `pixels` once the header has told the size; false if the data is damaged.
bool read_jpeg_rows(jpeg_decompress_struct& info, Bitmap& bitmap, std::uint8_t* line)
{
    while (info.output_scanline < info.output_height) {
        JSAMPROW rows[] = { line };
        std::int32_t y = std::int32_t(info.output_scanline);
        if (jpeg_read_scanlines(&info, rows, 1) != 1)
            return false;
        Pixel* row = bitmap.row(y);
        for (JDIMENSION x = 0; x < info.output_width; ++x)
            row[x] = Pixel(line[3 * x]) << 16 | Pixel(line[3 * x + 1]) << 8 | line[3 * x + 2];
    }
    return true;
}

// Everything the decoder touches lives here, on the heap, so a jump out of
// libjpeg leaves nothing of the frames it skips to clean up.
struct JpegJob {
    jpeg_decompress_struct info {};
    JpegErrors errors;
    std::unique_ptr<Bitmap> bitmap;
    std::vector<std::uint8_t> line;
    PictureError error = PictureError::damaged;
};

// No locals with destructors: libjpeg may jump out of any call here.
void run_jpeg(JpegJob& job, std::span<const std::uint8_t> b)
{
    jpeg_create_decompress(&job.info);
    jpeg_mem_src(&job.info, b.data(), static_cast<unsigned long>(b.size()));
    jpeg_read_header(&job.info, TRUE);
    if (!size_allowed(job.info.image_width, job.info.image_height)) {
        job.error = PictureError::too_large;
        return;
    }
    job.info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&job.info);
    job.bitmap = Bitmap::create(std::int32_t(job.info.output_width), std::int32_t(job.info.output_height));
    if (!job.bitmap) {
        job.error = PictureError::too_large;
        return;
    }
    job.line.resize(std::size_t(job.info.output_width) * 3);
    if (!read_jpeg_rows(job.info, *job.bitmap, job.line.data())) {
        job.errors.damaged = true;
        return;
    }
    jpeg_finish_decompress(&job.info);
}

PictureResult decode_jpeg(std::span<const std::uint8_t> b)
{
    if (b.size() > std::size_t(ULONG_MAX))
        return failure(PictureError::too_large);
    auto job = std::make_unique<JpegJob>();
    job->info.err = jpeg_std_error(&job->errors.manager);
    job->errors.manager.error_exit = jpeg_fail;
    job->errors.manager.emit_message = jpeg_warn;
    if (setjmp(job->errors.back) == 0)
        run_jpeg(*job, b);
    else
        job->errors.damaged = true;
    jpeg_destroy_decompress(&job->info);
    if (!job->bitmap || job->errors.damaged)
        return failure(job->error);
    PictureResult r;
    r.picture = DecodedPicture { std::move(job->bitmap), std::nullopt };
    return r;
}

PictureResult decode_with_stb(std::span<const std::uint8_t> b)
{
    if (b.size() > std::size_t(INT32_MAX))
        return failure(PictureError::too_large);
    int w = 0, h = 0, channels = 0;
    auto* data = reinterpret_cast<const stbi_uc*>(b.data());
    int length = int(b.size());
    if (!stbi_info_from_memory(data, length, &w, &h, &channels))
        return failure(PictureError::damaged);
    // stb_image tells a top-down BMP's height as negative here.
    if (!size_allowed(std::abs(std::int64_t(w)), std::abs(std::int64_t(h))))
        return failure(PictureError::too_large);
    stbi_uc* rgb = stbi_load_from_memory(data, length, &w, &h, &channels, 3);
    if (!rgb)
        return failure(PictureError::damaged);
    auto bitmap = Bitmap::create(w, h);
    if (!bitmap) {
        stbi_image_free(rgb);
        return failure(PictureError::too_large);
    }
    auto pixels = bitmap->pixels();
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = Pixel(rgb[3 * i]) << 16 | Pixel(rgb[3 * i + 1]) << 8 | rgb[3 * i + 2];
    stbi_image_free(rgb);
    PictureResult r;
    r.picture = DecodedPicture { std::move(bitmap), std::nullopt };
    return r;
}

struct GifSource {
    std::span<const std::uint8_t> bytes;
    std::size_t at = 0;
};

int read_gif(GifFileType* gif, GifByteType* out, int n)
{
    auto* src = static_cast<GifSource*>(gif->UserData);
    std::size_t count = std::min<std::size_t>(std::size_t(std::max(n, 0)), src->bytes.size() - src->at);
    std::memcpy(out, src->bytes.data() + src->at, count);
    src->at += count;
    return int(count);
}

struct GifCloser {
    void operator()(GifFileType* g) const
    {
        int error = 0;
        DGifCloseFile(g, &error);
    }
};

Pixel palette_pixel(const ColorMapObject* map, int index)
{
    if (!map || index < 0 || index >= map->ColorCount)
        return 0;
    const GifColorType& c = map->Colors[index];
    return Pixel(c.Red) << 16 | Pixel(c.Green) << 8 | c.Blue;
}

PictureResult decode_gif(std::span<const std::uint8_t> bytes)
{
    GifSource source { bytes };
    int error = 0;
    std::unique_ptr<GifFileType, GifCloser> gif(DGifOpen(&source, read_gif, &error));
    if (!gif)
        return failure(PictureError::damaged);
    std::int64_t width = gif->SWidth, height = gif->SHeight;
    if (width <= 0 || height <= 0)
        return failure(PictureError::damaged);
    if (!size_allowed(width, height))
        return failure(PictureError::too_large);
    int transparent_index = NO_TRANSPARENT_COLOR;
    for (;;) {
        GifRecordType type;
        if (DGifGetRecordType(gif.get(), &type) == GIF_ERROR)
            return failure(PictureError::damaged);
        if (type == TERMINATE_RECORD_TYPE)
            return failure(PictureError::damaged); // no image at all
        if (type == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* block = nullptr;
            if (DGifGetExtension(gif.get(), &code, &block) == GIF_ERROR)
                return failure(PictureError::damaged);
            while (block) {
                if (code == GRAPHICS_EXT_FUNC_CODE && block[0] >= 4) {
                    GraphicsControlBlock gcb;
                    if (DGifExtensionToGCB(block[0], block + 1, &gcb) == GIF_OK)
                        transparent_index = gcb.TransparentColor;
                    code = 0;
                }
                if (DGifGetExtensionNext(gif.get(), &block) == GIF_ERROR)
                    return failure(PictureError::damaged);
            }
            continue;
        }
        if (type != IMAGE_DESC_RECORD_TYPE)
            return failure(PictureError::damaged);
        break;
    }
    if (DGifGetImageDesc(gif.get()) == GIF_ERROR)
        return failure(PictureError::damaged);
    const GifImageDesc& desc = gif->Image;
    if (desc.Width <= 0 || desc.Height <= 0 || desc.Left < 0 || desc.Top < 0 || desc.Left + desc.Width > width
        || desc.Top + desc.Height > height)
        return failure(PictureError::damaged);
    const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
    if (!map)
        return failure(PictureError::damaged);
    auto bitmap = Bitmap::create(std::int32_t(width), std::int32_t(height));
    if (!bitmap)
        return failure(PictureError::too_large);
    std::optional<Pixel> transparent;
    if (transparent_index != NO_TRANSPARENT_COLOR)
        transparent = palette_pixel(map, transparent_index);
    bitmap->fill(transparent ? *transparent : palette_pixel(gif->SColorMap, gif->SBackGroundColor));
    std::vector<GifPixelType> line(std::size_t(desc.Width));
    auto put_row = [&](int y) -> bool {
        if (DGifGetLine(gif.get(), line.data(), desc.Width) == GIF_ERROR)
            return false;
        Pixel* row = bitmap->row(desc.Top + y) + desc.Left;
        for (int x = 0; x < desc.Width; ++x)
            row[x] = palette_pixel(map, line[std::size_t(x)]);
        return true;
    };
    if (desc.Interlace) {
        static constexpr int start[] = { 0, 4, 2, 1 }, step[] = { 8, 8, 4, 2 };
        for (int pass = 0; pass < 4; ++pass) {
            for (int y = start[pass]; y < desc.Height; y += step[pass]) {
                if (!put_row(y))
                    return failure(PictureError::damaged);
            }
        }
    } else {
        for (int y = 0; y < desc.Height; ++y) {
            if (!put_row(y))
                return failure(PictureError::damaged);
        }
    }
    PictureResult r;
    r.picture = DecodedPicture { std::move(bitmap), transparent };
    return r;
}

}

PictureResult decode_picture(std::span<const std::uint8_t> bytes)
{
    if (starts_with(bytes, "GIF87a") || starts_with(bytes, "GIF89a"))
        return decode_gif(bytes);
    if (starts_with(bytes, "BM")) {
        if (auto problem = check_bmp(bytes))
            return failure(*problem);
        return decode_with_stb(bytes);
    }
    if (starts_with(bytes, "\xFF\xD8\xFF")) {
        if (!jpeg_complete(bytes))
            return failure(PictureError::damaged);
        return decode_jpeg(bytes);
    }
    return failure(PictureError::unknown_format);
}

}
