#pragma once

#include "liba/Mutex.h"
#include "os/TextOStreamFile.h"

#include <string_view>

namespace os {

template<typename Char>
class Log;

// The trace file: writes from several threads never interleave inside one write.
template<>
class Log<char16_t> final : public TextOStreamFile<char16_t> {
public:
    explicit Log(std::u16string_view path);

    void write(const char16_t* begin, const char16_t* end) override;
    void flush() override;
    // Closes the file; later writes are swallowed.
    void retire();

private:
    liba::Mutex m_mutex;
    bool m_retired { false };
};

// The program's trace stream. The DWORD "Log" under
// HKEY_CURRENT_USER\Software\Qiro, read again whenever the store changed
// (by this process or another), switches it: on, lines
// go to "%app_full_name%.txt", emptied each time tracing is switched on.
liba::TextOStream<char16_t>& log();

// For broken invariants: traces "Gluck: <message> @ <location>", shows the
// message and ends the process with fatal_exit_code.
[[noreturn]] void fatal_error(std::u16string_view location, std::u16string_view message);

constexpr int fatal_exit_code = 70;

}
