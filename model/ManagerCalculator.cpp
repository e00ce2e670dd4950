#include "model/ManagerCalculator.h"

#include "model/FileManager.h"
#include "os/FileInfo.h"

bool ManagerCalculator::on_file(const std::u16string& path)
{
    m_total += os::FileInfo(path).size();
    return true;
}

bool ManagerCalculator::on_folder(const std::u16string& path)
{
    m_total += FileManager::folder_work;
    // A linked folder is one item: its link is handled, not what it holds.
    if (!os::FileInfo(path).is_link())
        find(path, u"*", u"*", false);
    return true;
}
