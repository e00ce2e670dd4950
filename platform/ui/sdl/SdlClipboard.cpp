#include "platform/ui/sdl/SdlClipboard.h"

#include "platform/core/Utf8.h"

#include <SDL.h>

namespace platform::sdl {

bool SdlClipboard::open()
{
    std::lock_guard guard(m_lock);
    if (m_open)
        return false;
    m_open = true;
    return true;
}

void SdlClipboard::close()
{
    std::lock_guard guard(m_lock);
    m_open = false;
}

bool SdlClipboard::empty()
{
    std::lock_guard guard(m_lock);
    return m_open && SDL_SetClipboardText("") == 0;
}

std::optional<std::u16string> SdlClipboard::text()
{
    std::lock_guard guard(m_lock);
    if (!m_open || !SDL_HasClipboardText())
        return std::nullopt;
    char* utf8 = SDL_GetClipboardText();
    if (!utf8)
        return std::nullopt;
    std::u16string text = from_utf8(utf8);
    SDL_free(utf8);
    return text;
}

bool SdlClipboard::set_text(std::u16string text)
{
    std::lock_guard guard(m_lock);
    return m_open && SDL_SetClipboardText(to_utf8(text).c_str()) == 0;
}

}
