#include "model/ipc/CSerializable.h"

bool CommWrite(CCommClipboard& clipboard, const CSerializable* object)
{
    return object && object->Write(clipboard);
}

bool CommRead(CCommClipboard& clipboard, CSerializable* object)
{
    return object && object->Read(clipboard);
}
