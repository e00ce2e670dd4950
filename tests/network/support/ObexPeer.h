#pragma once

#include "os/Registry.h"
#include "tests/support/TempDir.h"

#include <memory>
#include <string>
#include <sys/types.h>
#include <vector>

namespace test {

// The OBEX library's receiver in a child process on 127.0.0.1, listed as
// the only device in a registry store of its own, which the program uses
// while the peer lives.
class ObexPeer {
public:
    explicit ObexPeer(std::vector<std::string> options = {});
    ~ObexPeer();
    ObexPeer(const ObexPeer&) = delete;
    ObexPeer& operator=(const ObexPeer&) = delete;

    bool running() const { return m_port != 0; }

    int port() const { return m_port; }

    // The peer's event lines.
    std::vector<std::string> log() const;

    std::string received(const std::string& name) const { return read_file(m_out.file(name)); }

private:
    TempDir m_out;
    TempDir m_config;
    os::ScopedRegistryFile m_registry { m_config.file("registry") };
    pid_t m_pid = -1;
    int m_port = 0;
};

// Lists the entries as the peers to offer, in the program's registry store.
void set_obex_peers(const std::string& entries);

}
