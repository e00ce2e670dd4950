#pragma once

#include <optional>
#include <string>
#include <vector>

namespace test {

// A helper program running beside the test, talked to through its stdin and stdout.
// The destructor kills it if it still runs.
class Child {
public:
    explicit Child(const std::vector<std::string>& argv);
    ~Child();
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    bool started() const { return m_pid > 0; }

    int pid() const { return m_pid; }

    // The next line of its output without the line end; empty at end of output or after
    // timeout_ms without one.
    std::string read_line(int timeout_ms = 10000);
    bool write(const std::string& bytes);
    void close_stdin();
    void kill(int signal);
    // Its exit code, or 128 + the signal that ended it.
    int wait();
    // The same, or nullopt when it still runs after timeout_ms.
    std::optional<int> wait_for(int timeout_ms);

private:
    int m_pid = -1;
    int m_in = -1;
    int m_out = -1;
    std::string m_buffer;
};

}
