#include "os/ClipboardWriter.h"

#include "os/ClipboardFormat.h"
#include "platform/core/Clipboard.h"

#include <new>
#include <string_view>

namespace os {

ClipboardWriter::ClipboardWriter(int format, std::size_t size, bool empty_first)
    : m_format(format)
{
    auto& clipboard = platform::clipboard();
    m_opened = clipboard.open();
    if (!m_opened)
        return;
    if (empty_first)
        clipboard.empty();
    if (size > max_size)
        return;
    m_block.reset(new (std::nothrow) char[size == 0 ? 1 : size]());
    m_size = m_block ? size : 0;
}

ClipboardWriter::~ClipboardWriter()
{
    if (!m_opened)
        return;
    auto& clipboard = platform::clipboard();
    if (m_block) {
        if (auto text = text_from_block(m_format, std::string_view(m_block.get(), m_size)))
            clipboard.set_text(std::move(*text));
    }
    clipboard.close();
}

}
