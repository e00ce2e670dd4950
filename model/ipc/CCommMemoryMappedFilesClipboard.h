#pragma once

#include "model/ipc/CCommClipboard.h"
#include "platform/core/SharedMemory.h"

#include <memory>
#include <string>

// The stack in a named block of memory shared with the other process: a
// used length n (4 bytes, little-endian), then capacity - 4 data bytes of
// which the first n are in use. The other process may write anything there,
// so a used length beyond the data area refuses every push and pop until the
// stack is cleared.
class CCommMemoryMappedFilesClipboard : public CCommClipboard {
public:
    // Opens the block, or starts it empty when no process has it. Without the
    // block every operation is refused.
    CCommMemoryMappedFilesClipboard(std::uint32_t capacity, std::u16string name);

    bool is_open() const { return m_block != nullptr; }

    bool Clear() override;
    bool Push(const void* bytes, std::uint32_t count) override;
    bool Pop(void* buffer, std::uint32_t count) override;

private:
    std::uint32_t data_size() const { return get_capacity() - length_size; }

    // The used length when it is a possible one.
    bool used_length(std::uint32_t& used) const;
    void set_used_length(std::uint32_t used);

    unsigned char* data() const { return m_block->data() + length_size; }

    static constexpr std::uint32_t length_size = 4;

    std::u16string m_name;
    std::unique_ptr<platform::SharedMemory> m_block;
};
