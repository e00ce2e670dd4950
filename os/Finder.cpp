#include "os/Finder.h"

#include "liba/Path.h"
#include "os/Log.h"
#include "os/PathMacros.h"
#include "os/Wildcard.h"
#include "platform/FileSystem.h"
#include "platform/StorageCards.h"

#include <vector>

namespace os {

namespace {

// The entries that a pattern (a folder, a separator and a mask) names.
std::vector<platform::DirectoryEntry> search(std::u16string_view folder, std::u16string_view mask)
{
    std::u16string pattern = expand_path_macros(liba::join_path(folder, mask));
    std::u16string directory = liba::get_directory(pattern);
    std::u16string name_mask = liba::get_file_name(pattern);
    std::vector<platform::DirectoryEntry> entries, matching;
    platform::list_directory(directory, entries);
    for (auto& entry : entries) {
        if (wildcard_match(name_mask, entry.name))
            matching.push_back(std::move(entry));
    }
    return matching;
}

}

bool Finder::find(const std::u16string& folder, std::u16string_view file_mask,
    std::u16string_view folder_mask, bool recursive)
{
    for (auto& entry : search(folder, file_mask)) {
        if (!(entry.attributes & platform::file_attribute_directory)
            && !on_file(liba::join_path(folder, entry.name)))
            return true;
    }
    for (auto& entry : search(folder, folder_mask)) {
        if (!(entry.attributes & platform::file_attribute_directory))
            continue;
        std::u16string path = liba::join_path(folder, entry.name);
        if (!on_folder(path))
            return true;
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
