#pragma once

#include "model/ipc/CCommClipboard.h"

// A value that travels on the byte stack: Write pushes it, Read pops it (so
// values come off in the reverse order of going on). Both fail without
// changing the value when the stack refuses or holds something malformed.
class CSerializable {
public:
    virtual ~CSerializable() = default;

    virtual bool Read(CCommClipboard& clipboard) = 0;
    virtual bool Write(CCommClipboard& clipboard) const = 0;
};

// Object->Write / object->Read; false for no object.
bool CommWrite(CCommClipboard& clipboard, const CSerializable* object);
bool CommRead(CCommClipboard& clipboard, CSerializable* object);
