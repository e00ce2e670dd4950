#pragma once

#include "platform/ui/Bitmap.h"
#include "skinner/graphics/Image.h"

#include <cstdint>
#include <memory>
#include <string>

namespace skinner {

// Finds the picture files of a skin: members of the skin's archive first
// (GIF, then BMP), then files in the skin's folder (PNG, BMP, GIF, JPEG).
// Only what lies inside the folder or the archive is read: a name that is
// absolute or climbs out with "..", and a file whose real place (symbolic
// links followed) is outside the folder, count as missing. An archive
// member that exists but does not decode ends the search for that name.
class ImageLoader {
public:
    // The skin's path: the archive, and the folder that holds it (path macros expanded).
    explicit ImageLoader(const std::u16string& skin_path);

    // The image of the name at the scale: at a scale above 1 the name's
    // ready-made variant ("_x" and the scale) as it is, else the plain name
    // stretched by the scale; each with its "_1" transparency mask or, when
    // it has none, its "_8" alpha companion. Not valid when no colour
    // bitmap is found or a stretched one cannot be made.
    Image load(const std::u16string& name, std::uint32_t scale);

    // The bitmap of one name (no extension) by the search order; null when none.
    std::unique_ptr<platform::Bitmap> find(const std::u16string& name);

private:
    enum class Step { found, next, end };

    Image load_unscaled(const std::u16string& name, std::uint32_t scale);
    Step from_archive(const std::u16string& member, std::unique_ptr<platform::Bitmap>& bitmap);
    Step from_png(const std::u16string& file_name, std::unique_ptr<platform::Bitmap>& bitmap);
    Step from_picture_file(const std::u16string& file_name, std::unique_ptr<platform::Bitmap>& bitmap);
    // The file's real path when it lies inside the folder; empty otherwise.
    std::u16string inside_folder(const std::u16string& file_name) const;

    std::u16string m_archive;
    std::u16string m_folder;
    std::u16string m_real_folder;
};

// A picture name that stays inside the skin's folder: relative, without a
// ".." component, not empty.
bool is_contained_picture_name(std::u16string_view name);

}
