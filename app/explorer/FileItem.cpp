#include "app/explorer/FileItem.h"

#include "liba/Path.h"
#include "model/FileHelpers.h"
#include "os/FileInfo.h"

FileItem::FileItem(std::u16string path_, std::u16string type_, playlist::Entry entry_)
    : type(std::move(type_))
    , name(liba::get_file_name(liba::remove_trailing_separator(path_)))
    , entry(std::move(entry_))
    , path(std::move(path_))
{
    const os::FileInfo info(path);
    if (!info.exists())
        return;
    is_folder = info.is_directory();
    is_playlist = !is_folder && get_lower_extension(path) == playlist_extension;
    size = info.size();
    size_text = file_size_to_text(static_cast<std::int64_t>(size));
    date = info.creation_time();
    date_text = date_text_of(date);
}

std::u16string FileItem::date_text_of(const liba::DateTime& date)
{
    if (date.year() == 0)
        return {};
    return two_digit_text(date.day()) + u"." + two_digit_text(date.month()) + u"."
        + two_digit_text(date.year());
}
