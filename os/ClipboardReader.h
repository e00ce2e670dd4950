#pragma once

#include <cstddef>
#include <string>

namespace os {

// Holds the clipboard open for its life and gives its data in one format
// (an index of os/ClipboardFormat.h). Short-lived, on the GUI thread.
class ClipboardReader {
public:
    explicit ClipboardReader(int format);
    ~ClipboardReader();
    ClipboardReader(const ClipboardReader&) = delete;
    ClipboardReader& operator=(const ClipboardReader&) = delete;

    // False also when the clipboard could not be opened.
    bool has_data() const { return m_has_data; }

    // Text comes with its terminating zero.
    std::size_t size() const { return m_data.size(); }

    const void* data() const { return m_has_data ? m_data.data() : nullptr; }

private:
    bool m_opened { false };
    bool m_has_data { false };
    std::string m_data;
};

}
