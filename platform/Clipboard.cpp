#include "platform/Clipboard.h"

#include "platform/headless/MemoryClipboard.h"

#include <mutex>

namespace platform {

namespace {

std::mutex instance_lock;
std::unique_ptr<Clipboard> instance;

}

Clipboard& clipboard()
{
    std::lock_guard guard(instance_lock);
    if (!instance)
        instance = std::make_unique<MemoryClipboard>();
    return *instance;
}

void set_clipboard(std::unique_ptr<Clipboard> clipboard)
{
    std::lock_guard guard(instance_lock);
    instance = std::move(clipboard);
}

}
