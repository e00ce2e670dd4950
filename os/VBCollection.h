#pragma once

#include "os/Log.h"

#include <cstddef>
#include <utility>
#include <vector>

// An ordered sequence whose positional access is guarded: a position outside
// it is a broken invariant of the caller and ends the program, never a read
// outside the storage.
template<typename T>
class VBCollection {
public:
    void add(T element) { m_elements.push_back(std::move(element)); }

    int count() const { return static_cast<int>(m_elements.size()); }

    T& operator[](int pos)
    {
        check(pos);
        return m_elements[static_cast<std::size_t>(pos)];
    }

    const T& operator[](int pos) const
    {
        check(pos);
        return m_elements[static_cast<std::size_t>(pos)];
    }

private:
    void check(int pos) const
    {
        if (pos < 0 || pos >= count())
            os::fatal_error(u"VBCollection::operator[]", u"pos is invalid");
    }

    std::vector<T> m_elements;
};
