#include "model/ipc/CCommMemoryMappedFilesClipboard.h"

#include "model/ipc/CommBytes.h"
#include "os/Log.h"

#include <cstring>

CCommMemoryMappedFilesClipboard::CCommMemoryMappedFilesClipboard(std::uint32_t capacity, std::u16string name)
    : CCommClipboard(capacity)
    , m_name(std::move(name))
{
    if (capacity <= length_size)
        return;
    m_block = platform::SharedMemory::open(m_name, capacity);
    if (!m_block)
        os::log() << u"CCommMemoryMappedFilesClipboard: the block [" + m_name + u"] was refused\n";
    if (m_block && m_block->created())
        set_used_length(0);
}

bool CCommMemoryMappedFilesClipboard::used_length(std::uint32_t& used) const
{
    unsigned char bytes[length_size];
    std::memcpy(bytes, m_block->data(), length_size); // read once: the other side may change it
    used = comm_bytes::load(bytes);
    return used <= data_size();
}

void CCommMemoryMappedFilesClipboard::set_used_length(std::uint32_t used)
{
    unsigned char bytes[length_size];
    comm_bytes::store(bytes, used);
    std::memcpy(m_block->data(), bytes, length_size);
}

bool CCommMemoryMappedFilesClipboard::Clear()
{
    if (!m_block)
        return false;
    set_used_length(0);
    return true;
}

bool CCommMemoryMappedFilesClipboard::Push(const void* bytes, std::uint32_t count)
{
    std::uint32_t used;
    if (!m_block || !used_length(used) || count > data_size() - used)
        return false;
    if (count > 0)
        std::memcpy(data() + used, bytes, count);
    set_used_length(used + count);
    return true;
}

bool CCommMemoryMappedFilesClipboard::Pop(void* buffer, std::uint32_t count)
{
    std::uint32_t used;
    if (!m_block || !used_length(used) || count > used)
        return false;
    used -= count;
    if (count > 0)
        std::memcpy(buffer, data() + used, count);
    set_used_length(used);
    return true;
}
