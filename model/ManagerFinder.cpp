#include "model/ManagerFinder.h"

#include "liba/Path.h"
#include "model/FileManager.h"

ManagerFinder::ManagerFinder(FileManager& manager, Mode mode, std::u16string destination)
    : m_manager(manager)
    , m_mode(mode)
    , m_destination(std::move(destination))
{
}

std::u16string ManagerFinder::target_of(const std::u16string& path) const
{
    return liba::join_path(m_destination, liba::get_file_name(liba::remove_trailing_separator(path)));
}

bool ManagerFinder::record(bool go_on)
{
    m_stopped = !go_on;
    return go_on;
}

bool ManagerFinder::on_file(const std::u16string& path)
{
    switch (m_mode) {
    case Mode::remove:
        return record(m_manager.delete_file(path));
    case Mode::copy:
        return record(m_manager.copy_file(path, target_of(path)));
    case Mode::move:
        break;
    }
    return record(m_manager.move_file(path, target_of(path)));
}

bool ManagerFinder::on_folder(const std::u16string& path)
{
    switch (m_mode) {
    case Mode::remove:
        return record(m_manager.delete_folder(path));
    case Mode::copy:
        return record(m_manager.copy_folder(path, target_of(path)));
    case Mode::move:
        break;
    }
    return record(m_manager.move_folder(path, target_of(path)));
}
