#pragma once

#include "liba/TextOStream.h"
#include "os/File.h"

namespace os {

template<typename Char>
class TextOStreamFile;

// A UTF-16LE text file, created or emptied, beginning with the byte-order
// mark. A file that cannot be opened swallows everything.
template<>
class TextOStreamFile<char16_t> : public liba::TextOStream<char16_t> {
public:
    // Path macros allowed.
    explicit TextOStreamFile(std::u16string_view path);

    void write(const char16_t* begin, const char16_t* end) override;
    void flush() override;

protected:
    void close() { m_file.close(); }

private:
    File m_file;
};

}
