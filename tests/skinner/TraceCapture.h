#pragma once

#include "os/Log.h"
#include "os/Registry.h"
#include "tests/support/EnvironmentOverride.h"
#include "tests/support/TempDir.h"

#include <filesystem>
#include <string>

namespace test {

// Switches the trace file on in the folder (the program's folder for its
// life) and hands back what was traced, in ASCII. The registry store must be
// one of the test's own.
class TraceCapture {
public:
    explicit TraceCapture(const TempDir& dir)
        : m_dir(dir)
        , m_app_path("ORVANTA_APP_PATH", dir.path().c_str())
    {
        os::registry_write_dword(qiro, u"Log", 1);
    }

    ~TraceCapture() { stop(); }

    // Ends tracing; what was traced so far.
    std::string text()
    {
        stop();
        const std::string bytes = read_file(
            m_dir.file(std::filesystem::read_symlink("/proc/self/exe").filename().string() + ".txt"));
        std::string out;
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
            out += bytes[i];
        return out;
    }

private:
    static constexpr std::u16string_view qiro = u"HKEY_CURRENT_USER\\Software\\Qiro";

    void stop()
    {
        if (m_stopped)
            return;
        m_stopped = true;
        os::log().flush();
        os::registry_write_dword(qiro, u"Log", 0);
        os::log(); // closes the file
    }

    const TempDir& m_dir;
    EnvironmentOverride m_app_path;
    bool m_stopped = false;
};

}
