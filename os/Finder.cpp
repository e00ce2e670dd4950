#include "os/Finder.h"

#include "liba/Path.h"
#include "os/Log.h"
#include "os/PathMacros.h"
#include "os/Wildcard.h"
#include "platform/core/FileSystem.h"
#include "platform/core/StorageCards.h"

#include <vector>

namespace os {

namespace {

struct Listing {
    std::u16string directory;
    std::vector<platform::DirectoryEntry> entries;
};

// The folder that a pattern (a folder, a separator and a mask) searches, and its mask.
std::pair<std::u16string, std::u16string> split_pattern(std::u16string_view folder, std::u16string_view mask)
{
    std::u16string pattern = expand_path_macros(liba::join_path(folder, mask));
    return { liba::get_directory(pattern), liba::get_file_name(pattern) };
}

// Reports what the pattern's folder holds through the callback: one listing
// serves both masks when they search the same folder.
const std::vector<platform::DirectoryEntry>& listing_of(Listing& cache, const std::u16string& directory)
{
    if (cache.directory != directory || cache.entries.empty()) {
        cache.directory = directory;
        platform::list_directory(directory, cache.entries);
    }
    return cache.entries;
}

}

bool Finder::find(const std::u16string& folder, std::u16string_view file_mask,
    std::u16string_view folder_mask, bool recursive)
{
    struct Found {
        const platform::FileStatus*& slot;
        ~Found() { slot = nullptr; }
    } found { m_found };
    Listing listing;
    const auto [file_directory, file_name_mask] = split_pattern(folder, file_mask);
    for (const auto& entry : listing_of(listing, file_directory)) {
        if ((entry.attributes & platform::file_attribute_directory) || !wildcard_match(file_name_mask, entry.name))
            continue;
        m_found = &entry.status;
        if (!on_file(liba::join_path(folder, entry.name)))
            return true;
    }
    const auto [folder_directory, folder_name_mask] = split_pattern(folder, folder_mask);
    std::vector<platform::DirectoryEntry> folders;
    for (const auto& entry : listing_of(listing, folder_directory))
        if ((entry.attributes & platform::file_attribute_directory) && wildcard_match(folder_name_mask, entry.name))
            folders.push_back(entry);
    listing.entries.clear();
    for (const auto& entry : folders) {
        std::u16string path = liba::join_path(folder, entry.name);
        m_found = &entry.status;
        if (!on_folder(path))
            return true;
        m_found = nullptr;
        // Never into a linked folder: a link to a folder above would never end.
        if (recursive && !(entry.attributes & platform::file_attribute_reparse_point))
            find(path, file_mask, folder_mask, recursive);
    }
    return true;
}

bool Finder::find_drives()
{
    std::u16string my_documents = expand_path_macros(u"%my_documents%");
    log() << u"find_drives: mydoc={" + my_documents + u"}\n";
    for (auto& card : platform::storage_cards()) {
        if (liba::is_path_under(card, my_documents)) {
            log() << u"skipping result={" + card + u"}\n";
            continue;
        }
        log() << u"returning result={" + card + u"}\n";
        if (!on_folder(card))
            break;
    }
    return true;
}

}
