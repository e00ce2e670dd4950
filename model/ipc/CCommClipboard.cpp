#include "model/ipc/CCommClipboard.h"

namespace {

std::unique_ptr<CCommClipboard>& instance()
{
    static std::unique_ptr<CCommClipboard> clipboard;
    return clipboard;
}

}

CCommClipboard& CCommClipboard::GetInstance()
{
    if (!instance())
        instance() = std::make_unique<CCommClipboard>();
    return *instance();
}

void CCommClipboard::SetInstance(std::unique_ptr<CCommClipboard> clipboard)
{
    instance() = std::move(clipboard);
}
