#pragma once

#include <cstdint>

// The handler of one command of the Today item; its result answers the
// command message.
class CCommandDelegate {
public:
    virtual ~CCommandDelegate() = default;

    virtual std::int32_t Invoke() = 0;
};

// Calls a member of an object; the object outlives the delegate.
template<typename T>
class CMethodCommandDelegate : public CCommandDelegate {
public:
    using Method = std::int32_t (T::*)();

    CMethodCommandDelegate(T& object, Method method)
        : m_object(object)
        , m_method(method)
    {
    }

    std::int32_t Invoke() override { return (m_object.*m_method)(); }

private:
    T& m_object;
    Method m_method;
};
