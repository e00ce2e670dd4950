#pragma once

#include "platform/Utf8.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

// The fuzz input as a file, for parsers that read from a path.
class FuzzFile {
public:
    FuzzFile(const std::uint8_t* data, std::size_t size)
    {
        const char* tmp = std::getenv("TMPDIR");
        m_path = std::string(tmp && *tmp ? tmp : "/tmp") + "/orvanta-fuzz-" + std::to_string(getpid());
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
