#include "app/settings/MySkinFinder.h"

#include "liba/CaseMapping.h"
#include "liba/Path.h"
#include "os/FileInfo.h"
#include "os/PathMacros.h"
#include "skinner/skin/PropertiesImpl.h"

std::int32_t MySkinFinder::index_of(const std::vector<std::u16string>& list, std::u16string_view path)
{
    const std::u16string wanted = os::expand_path_macros(path);
    for (std::size_t i = 0; i < list.size(); ++i)
        if (liba::paths_equal(os::expand_path_macros(list[i]), wanted))
            return std::int32_t(i);
    return -1;
}

void MySkinFinder::add_path(std::vector<std::u16string>& list, const std::u16string& path)
{
    const std::int32_t index = index_of(list, path);
    if (index >= 0)
        list[std::size_t(index)] = path;
    else
        list.push_back(path);
}

bool MySkinFinder::on_file(const std::u16string& path)
{
    if (liba::to_lower(liba::get_extension(path)) != u"skin")
        return true;
    if (skinner::PropertiesImpl::check_file(path, u"Orvanta_500", m_screen))
        add_path(main_skins, path);
    else if (skinner::PropertiesImpl::check_file(path, u"OrvantaToday_500", m_screen))
        add_path(today_skins, path);
    return true;
}

bool MySkinFinder::on_folder(const std::u16string& path)
{
    if (liba::is_path_under(os::expand_path_macros(u"%windows%"), os::expand_path_macros(path)))
        return true;
    // A link to a folder above would make the search endless.
    if (os::FileInfo(path).is_link())
        return true;
    os::Finder::find(path, u"*", u"*", false);
    return true;
}
