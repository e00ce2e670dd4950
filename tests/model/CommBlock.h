#pragma once

#include "model/ipc/CCommMemoryMappedFilesClipboard.h"
#include "model/ipc/Comm.h"
#include "platform/core/SharedMemory.h"
#include "tests/support/EnvironmentOverride.h"
#include "tests/support/TempDir.h"

#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace test {

// The program's shared block in a runtime folder of the test's own, with a
// second view of it: the bytes as the other process sees and writes them.
class CommBlock : public ::testing::Test {
protected:
    CommBlock()
        : runtime("XDG_RUNTIME_DIR", runtime_dir.path().c_str())
        , clipboard(comm_block_capacity, std::u16string(comm_block_name))
        , other(platform::SharedMemory::open(comm_block_name, comm_block_capacity))
    {
    }

    // The used length and the bytes in use, as the other process reads them.
    std::uint32_t used() const
    {
        std::uint32_t n = 0;
        for (int i = 0; i < 4; ++i)
            n |= std::uint32_t(other->data()[i]) << (8 * i);
        return n;
    }

    std::string stack() const
    {
        return std::string(
            reinterpret_cast<const char*>(other->data() + 4), std::min<std::uint32_t>(used(), 1024));
    }

    // Writes the block as a hostile other process might: any used length, any bytes.
    void write_block(std::uint32_t length, const std::string& bytes)
    {
        for (int i = 0; i < 4; ++i)
            other->data()[i] = static_cast<unsigned char>(length >> (8 * i));
        std::memcpy(other->data() + 4, bytes.data(), std::min<std::size_t>(bytes.size(), 1024));
    }

    TempDir runtime_dir;
    EnvironmentOverride runtime;
    CCommMemoryMappedFilesClipboard clipboard;
    std::unique_ptr<platform::SharedMemory> other;
};

// Bytes from pairs of hex digits; blanks are skipped.
inline std::string hex_bytes(const std::string& hex)
{
    std::string bytes;
    for (std::size_t i = 0; i < hex.size();) {
        if (hex[i] == ' ') {
            ++i;
            continue;
        }
        bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
        i += 2;
    }
    return bytes;
}

}
