#include "model/ipc/CSerializableBool.h"

bool CSerializableBool::Read(CCommClipboard& clipboard)
{
    unsigned char byte;
    if (!clipboard.Pop(&byte, 1) || byte > 1)
        return false;
    m_value = byte == 1;
    return true;
}

bool CSerializableBool::Write(CCommClipboard& clipboard) const
{
    const unsigned char byte = m_value ? 1 : 0;
    return clipboard.Push(&byte, 1);
}
