#pragma once

#include "platform/ui/Bitmap.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>

namespace platform {

// Why a picture file did not decode.
enum class PictureError {
    unknown_format, // not GIF, BMP or JPEG
    damaged, // truncated or inconsistent
    too_large, // beyond the limits: refused before anything is allocated for it
    unsupported, // a run-length compressed BMP
};

struct DecodedPicture {
    std::unique_ptr<Bitmap> bitmap; // 0x00RRGGBB, top-down
    // A GIF's transparent colour (as it stands in the palette), if it has one.
    std::optional<Pixel> transparent;
};

struct PictureResult {
    std::optional<DecodedPicture> picture;
    PictureError error = PictureError::unknown_format;
};

// The largest side a skin picture may have.
inline constexpr std::int32_t max_picture_side = 10000;

// Decodes a GIF (its first image, on its logical screen; transparent pixels
// keep their palette colour), a BMP (1, 4, 8, 16, 24 or 32 bits, top-down or
// bottom-up, uncompressed) or a JPEG into a 32-bit bitmap. The format is told by the bytes.
// Pictures larger than max_picture_side or Bitmap's pixel limit are refused.
PictureResult decode_picture(std::span<const std::uint8_t> bytes);

}
