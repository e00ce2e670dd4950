#include "app/settings/LangFinder.h"

#include "liba/Path.h"

bool LangFinder::on_file(const std::u16string& path)
{
    m_names.push_back(liba::get_file_title(path));
    return true;
}
