#include "app/explorer/FileItem.h"

#include "liba/Path.h"
#include "model/FileHelpers.h"
#include "liba/CaseMapping.h"
#include "os/FileSystem.h"

FileItem::FileItem(std::u16string path_, std::u16string type_, playlist::Entry entry_)
    : type(std::move(type_))
    , name(liba::get_file_name(liba::remove_trailing_separator(path_)))
    , sort_name(liba::to_lower(name))
    , entry(std::move(entry_))
    , path(std::move(path_))
{
    platform::FileStatus status;
    if (os::file_status(path, status))
        describe(status);
}

FileItem::FileItem(
    std::u16string path_, std::u16string type_, playlist::Entry entry_, const platform::FileStatus& status)
    : type(std::move(type_))
    , name(liba::get_file_name(liba::remove_trailing_separator(path_)))
    , sort_name(liba::to_lower(name))
    , entry(std::move(entry_))
    , path(std::move(path_))
{
    describe(status);
}

void FileItem::describe(const platform::FileStatus& status)
{
    if (status.attributes == platform::invalid_file_attributes)
        return;
    is_folder = (status.attributes & platform::file_attribute_directory) != 0;
    is_playlist = !is_folder && get_lower_extension(path) == playlist_extension;
    size = status.size;
    size_text = file_size_to_text(static_cast<std::int64_t>(size));
    date.set_file_time(platform::local_file_time(status.creation_time));
    date_text = date_text_of(date);
}

std::u16string FileItem::date_text_of(const liba::DateTime& date)
{
    if (date.year() == 0)
        return {};
    return two_digit_text(date.day()) + u"." + two_digit_text(date.month()) + u"."
        + two_digit_text(date.year());
}
