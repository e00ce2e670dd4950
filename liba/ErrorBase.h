#pragma once

#include <string>
#include <vector>

namespace liba {

// The error texts of a file, stream or archive, in the order recorded. The
// list is never cleared: once an error is in it the object stays failed.
class ErrorBase {
public:
    virtual void add_error(const std::u16string& text);
    virtual ~ErrorBase() = default;

    bool is_ok() const { return m_errors.empty(); }

    const std::vector<std::u16string>& errors() const { return m_errors; }

private:
    std::vector<std::u16string> m_errors;
};

}
