#pragma once

#include "platform/core/Clipboard.h"

#include <mutex>

namespace platform::sdl {

// The desktop's clipboard through SDL, for text: install it once an
// SdlDisplay is available (SDL's video must run). Opening and closing work as
// on the device: one holder at a time within the program. Emptying leaves
// the desktop's clipboard with empty text. GUI thread only, like SDL's video.
class SdlClipboard final : public Clipboard {
public:
    bool open() override;
    void close() override;
    bool empty() override;
    std::optional<std::u16string> text() override;
    bool set_text(std::u16string text) override;

private:
    std::mutex m_lock;
    bool m_open { false };
};

}
