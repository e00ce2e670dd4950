#include "platform/core/Clipboard.h"

namespace platform {

namespace {

class NoClipboard final : public Clipboard {
public:
    bool open() override { return false; }
    void close() override { }
    bool empty() override { return false; }
    std::optional<std::u16string> text() override { return std::nullopt; }
    bool set_text(std::u16string) override { return false; }
};

}

ServiceSlot<Clipboard>& clipboard_slot()
{
    static ServiceSlot<Clipboard> slot(make_backend<Clipboard, NoClipboard>);
    return slot;
}

}
