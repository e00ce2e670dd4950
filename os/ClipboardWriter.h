#pragma once

#include <cstddef>
#include <memory>

namespace os {

// Holds the clipboard open for its life and hands out a block to fill; on
// destruction the block goes onto the clipboard in the format (an index of
// os/ClipboardFormat.h). Short-lived, on the GUI thread.
class ClipboardWriter {
public:
    // Blocks beyond this are refused like a failed allocation.
    static constexpr std::size_t max_size = 64 << 20;

    // With empty_first the clipboard is emptied even when no block results.
    ClipboardWriter(int format, std::size_t size, bool empty_first);
    ~ClipboardWriter();
    ClipboardWriter(const ClipboardWriter&) = delete;
    ClipboardWriter& operator=(const ClipboardWriter&) = delete;

    bool is_valid() const { return m_block != nullptr; }

    // The block to fill, zeroed; null when invalid.
    void* data() { return m_block.get(); }

private:
    bool m_opened { false };
    int m_format;
    std::size_t m_size { 0 };
    std::unique_ptr<char[]> m_block;
};

}
