#include "platform/core/MessageBox.h"

#include "platform/core/Utf8.h"
#include "platform/core/posix/PosixFile.h"

#include <string>
#include <unistd.h>

namespace platform {

namespace {

class StderrMessageBox final : public MessageBox {
public:
    void show(std::u16string_view text, std::u16string_view caption) override
    {
        const std::string line = to_utf8(caption) + ": " + to_utf8(text) + "\n";
        posix::write_all(STDERR_FILENO, line.data(), line.size());
    }
};

}

ServiceSlot<MessageBox>& message_box_slot()
{
    static ServiceSlot<MessageBox> slot(make_backend<MessageBox, StderrMessageBox>);
    return slot;
}

}
