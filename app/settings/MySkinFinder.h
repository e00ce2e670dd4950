#pragma once

#include "os/Finder.h"
#include "skinner/graphics/Size.h"

#include <string>
#include <vector>

// Sorts the skin files a search reports into skins of the main window and
// skins of the Today item by the entry their header holds; other files and
// skins are left out. Sub-folders are searched in turn, except linked ones
// and those of the system folder.
class MySkinFinder : public os::Finder {
public:
    explicit MySkinFinder(skinner::Size screen)
        : m_screen(screen)
    {
    }

    bool on_file(const std::u16string& path) override;
    bool on_folder(const std::u16string& path) override;

    // The index of the path in the list (compared with macros expanded), or -1.
    static std::int32_t index_of(const std::vector<std::u16string>& list, std::u16string_view path);
    // Replaces the same path in the list, else appends it.
    static void add_path(std::vector<std::u16string>& list, const std::u16string& path);

    std::vector<std::u16string> main_skins;
    std::vector<std::u16string> today_skins;

private:
    skinner::Size m_screen;
};
