#pragma once

#include <cstdint>

// The error codes that the device's file services leave behind, which the
// file explorer and the file operations compare against.
namespace platform {

constexpr uint32_t error_success = 0;
constexpr uint32_t error_file_not_found = 2;
constexpr uint32_t error_path_not_found = 3;
constexpr uint32_t error_too_many_open_files = 4;
constexpr uint32_t error_access_denied = 5;
constexpr uint32_t error_not_enough_memory = 8;
constexpr uint32_t error_not_same_device = 17;
constexpr uint32_t error_write_protect = 19;
constexpr uint32_t error_gen_failure = 31;
constexpr uint32_t error_disk_full = 112;
constexpr uint32_t error_invalid_parameter = 87;
constexpr uint32_t error_dir_not_empty = 145;
constexpr uint32_t error_busy = 170;
constexpr uint32_t error_already_exists = 183;
constexpr uint32_t error_filename_exced_range = 206;
constexpr uint32_t error_io_device = 1117;
constexpr uint32_t error_cant_resolve_filename = 1921;

uint32_t win32_error_from_errno(int error);

}
