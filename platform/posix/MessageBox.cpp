#include "platform/MessageBox.h"

#include "platform/Utf8.h"

#include <atomic>
#include <string>
#include <unistd.h>

namespace platform {

namespace {

std::atomic<MessageBoxHook> g_hook { nullptr };

void write_to_stderr(std::u16string_view text, std::u16string_view caption)
{
    const std::string line = to_utf8(caption) + ": " + to_utf8(text) + "\n";
    std::size_t done = 0;
    while (done < line.size()) {
        const ssize_t n = ::write(STDERR_FILENO, line.data() + done, line.size() - done);
        if (n <= 0)
            break;
        done += static_cast<std::size_t>(n);
    }
}

}

void message_box(std::u16string_view text, std::u16string_view caption)
{
    const MessageBoxHook hook = g_hook.load(std::memory_order_acquire);
    (hook ? hook : write_to_stderr)(text, caption);
}

void set_message_box_hook(MessageBoxHook hook) { g_hook.store(hook, std::memory_order_release); }

}
