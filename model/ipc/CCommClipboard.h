#pragma once

#include <cstdint>
#include <memory>

// The byte stack that requests and replies of the Today item travel on: the
// client pushes a request, the server pops it and pushes its reply, the
// client pops that. This base is the null stack: nothing goes on or comes off.
class CCommClipboard {
public:
    // Bytes including the 4-byte used length.
    explicit CCommClipboard(std::uint32_t capacity = 0)
        : m_capacity(capacity)
    {
    }

    virtual ~CCommClipboard() = default;
    CCommClipboard(const CCommClipboard&) = delete;
    CCommClipboard& operator=(const CCommClipboard&) = delete;

    // Empties the stack.
    virtual bool Clear() { return false; }

    // Puts count bytes on top; refused (and nothing changes) when they do not fit.
    virtual bool Push(const void*, std::uint32_t) { return false; }

    // Takes the count bytes on top into buffer, in their order; refused (and
    // nothing changes) when fewer are there.
    virtual bool Pop(void*, std::uint32_t) { return false; }

    std::uint32_t get_capacity() const { return m_capacity; }

    // The process-wide stack (of the GUI thread); a null one until one is set.
    static CCommClipboard& GetInstance();
    // Replaces the process-wide stack, deleting the previous one.
    static void SetInstance(std::unique_ptr<CCommClipboard> clipboard);

private:
    std::uint32_t m_capacity;
};
