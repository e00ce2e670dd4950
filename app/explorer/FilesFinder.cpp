#include "app/explorer/FilesFinder.h"

#include "app/explorer/ControlListFiles.h"

bool FilesFinder::on_file(const std::u16string& path)
{
    m_list.add_file(path, found_status());
    return true;
}

bool FilesFinder::on_folder(const std::u16string& path)
{
    m_list.add_folder(path, found_status());
    return true;
}
