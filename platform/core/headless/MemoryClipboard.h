#pragma once

#include "platform/core/Clipboard.h"

#include <mutex>

namespace platform::headless {

// A clipboard that lives in this process only.
class MemoryClipboard final : public Clipboard {
public:
    bool open() override;
    void close() override;
    bool empty() override;
    std::optional<std::u16string> text() override;
    bool set_text(std::u16string text) override;

private:
    std::mutex m_lock;
    bool m_open { false };
    std::optional<std::u16string> m_text;
};

}
