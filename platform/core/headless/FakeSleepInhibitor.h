#pragma once

#include "platform/core/SleepInhibitor.h"

#include <cstddef>
#include <string>

namespace platform::headless {

// Counts the locks it holds and keeps the reason of the current one.
class FakeSleepInhibitor final : public SleepInhibitor {
public:
    bool hold(std::u16string_view why) override;
    void release() override;

    std::size_t locks() const { return m_locks; }
    const std::u16string& reason() const { return m_reason; }
    // Every lock taken so far, replaced ones too.
    std::size_t taken() const { return m_taken; }

private:
    std::size_t m_locks = 0;
    std::size_t m_taken = 0;
    std::u16string m_reason;
};

}
