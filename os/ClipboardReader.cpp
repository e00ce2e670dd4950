#include "os/ClipboardReader.h"

#include "os/ClipboardFormat.h"
#include "platform/core/Clipboard.h"

namespace os {

ClipboardReader::ClipboardReader(int format)
{
    auto& clipboard = platform::clipboard();
    m_opened = clipboard.open();
    if (!m_opened)
        return;
    auto text = clipboard.text();
    if (!text)
        return;
    auto bytes = block_from_text(format, *text);
    if (!bytes)
        return;
    m_data = std::move(*bytes);
    m_has_data = true;
}

ClipboardReader::~ClipboardReader()
{
    if (m_opened)
        platform::clipboard().close();
}

}
