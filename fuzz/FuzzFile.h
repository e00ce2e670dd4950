#pragma once

#include "platform/core/Utf8.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

// The fuzz input as a file, for parsers that read from a path.
class FuzzFile {
public:
    FuzzFile(const std::uint8_t* data, std::size_t size)
    {
        // In memory where there is such a folder: a file per run on disk is slow.
        const char* tmp = std::getenv("TMPDIR");
        const std::string folder = tmp && *tmp ? tmp : access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        m_path = folder + "/orvanta-fuzz-" + std::to_string(getpid());
        if (FILE* f = std::fopen(m_path.c_str(), "wb")) {
            std::fwrite(data, 1, size, f);
            std::fclose(f);
        }
    }

    ~FuzzFile() { std::remove(m_path.c_str()); }

    std::u16string path() const { return platform::from_utf8(m_path); }

private:
    std::string m_path;
};
