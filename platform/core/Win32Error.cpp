#include "platform/core/Win32Error.h"

#include <cerrno>

namespace platform {

uint32_t win32_error_from_errno(int error)
{
    switch (error) {
    case 0:
        return error_success;
    case ENOENT:
        return error_file_not_found;
    case ENOTDIR:
        return error_path_not_found;
    case EACCES:
    case EPERM:
    case EISDIR:
        return error_access_denied;
    case EMFILE:
    case ENFILE:
        return error_too_many_open_files;
    case ENOMEM:
        return error_not_enough_memory;
    case EXDEV:
        return error_not_same_device;
    case EROFS:
        return error_write_protect;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return error_disk_full;
    case EINVAL:
        return error_invalid_parameter;
    case ENOTEMPTY:
        return error_dir_not_empty;
    case EBUSY:
        return error_busy;
    case EEXIST:
        return error_already_exists;
    case ENAMETOOLONG:
        return error_filename_exced_range;
    case EIO:
        return error_io_device;
    case ELOOP:
        return error_cant_resolve_filename;
    default:
        return error_gen_failure;
    }
}

}
