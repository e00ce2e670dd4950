#pragma once

#include "model/ipc/CCommClipboard.h"

#include <cstdint>

// Little-endian words on the byte stack, as every value of the channel holds them.
namespace comm_bytes {

inline void store(unsigned char* out, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<unsigned char>(value >> (8 * i));
}

inline std::uint32_t load(const unsigned char* in)
{
    return std::uint32_t(in[0]) | std::uint32_t(in[1]) << 8 | std::uint32_t(in[2]) << 16
        | std::uint32_t(in[3]) << 24;
}

inline bool push_word(CCommClipboard& clipboard, std::uint32_t value)
{
    unsigned char bytes[4];
    store(bytes, value);
    return clipboard.Push(bytes, sizeof bytes);
}

inline bool pop_word(CCommClipboard& clipboard, std::uint32_t& value)
{
    unsigned char bytes[4];
    if (!clipboard.Pop(bytes, sizeof bytes))
        return false;
    value = load(bytes);
    return true;
}

}
