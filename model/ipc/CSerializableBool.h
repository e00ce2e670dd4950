#pragma once

#include "model/ipc/CSerializable.h"

// One byte, 0 or 1; any other byte is not a boolean and is refused.
class CSerializableBool : public CSerializable {
public:
    explicit CSerializableBool(bool value = false)
        : m_value(value)
    {
    }

    bool get_value() const { return m_value; }

    void set_value(bool value) { m_value = value; }

    bool Read(CCommClipboard& clipboard) override;
    bool Write(CCommClipboard& clipboard) const override;

private:
    bool m_value;
};
