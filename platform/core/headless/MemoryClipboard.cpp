#include "platform/core/headless/MemoryClipboard.h"

namespace platform::headless {

bool MemoryClipboard::open()
{
    std::lock_guard guard(m_lock);
    if (m_open)
        return false;
    m_open = true;
    return true;
}

void MemoryClipboard::close()
{
    std::lock_guard guard(m_lock);
    m_open = false;
}

bool MemoryClipboard::empty()
{
    std::lock_guard guard(m_lock);
    if (!m_open)
        return false;
    m_text.reset();
    return true;
}

std::optional<std::u16string> MemoryClipboard::text()
{
    std::lock_guard guard(m_lock);
    if (!m_open)
        return std::nullopt;
    return m_text;
}

bool MemoryClipboard::set_text(std::u16string text)
{
    std::lock_guard guard(m_lock);
    if (!m_open)
        return false;
    m_text = std::move(text);
    return true;
}

}
