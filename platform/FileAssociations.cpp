#include "platform/FileAssociations.h"

#include "platform/posix/MimeAppsAssociations.h"

#include <atomic>

namespace platform {

namespace {

std::atomic<FileAssociations*> g_installed { nullptr };

}

FileAssociations& file_associations()
{
    static MimeAppsAssociations desktop;
    FileAssociations* installed = g_installed.load();
    return installed ? *installed : desktop;
}

void set_file_associations(FileAssociations* associations)
{
    g_installed.store(associations);
}

}
