#pragma once

#include "platform/core/Service.h"

#include <optional>
#include <string>

namespace platform {

// The system clipboard, which carries text. Like the device's clipboard it
// is held by one user at a time, from open to close.
class Clipboard {
public:
    virtual ~Clipboard() = default;

    // False while another user holds it open.
    virtual bool open() = 0;
    virtual void close() = 0;
    // The operations below need the clipboard open; they fail otherwise.
    virtual bool empty() = 0;
    virtual std::optional<std::u16string> text() = 0;
    virtual bool set_text(std::u16string text) = 0;
};

// The process-wide clipboard. Until the user interface installs the
// desktop's there is none: it cannot be opened.
ServiceSlot<Clipboard>& clipboard_slot();

inline Clipboard& clipboard() { return clipboard_slot().get(); }

}
