// OBEX over TCP in place of infrared sockets. Every wait polls the socket
// together with an eventfd, so shutdown wakes whatever is blocked.
#include "platform/core/ObexTransport.h"
#include "platform/core/RegistryStore.h"
#include "platform/core/Utf8.h"
#include "platform/core/detail/ObexPeerList.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr int probe_timeout_ms = 500;

struct Peer {
    sockaddr_storage address {};
    socklen_t length = 0;
    std::string entry;
};

std::u16string registry_peer_list(RegistryStore& store)
{
    const auto value = store.get_value(RegistryRoot::current_user, u"Software\\Qiro", u"ObexPeers");
    std::u16string text;
    if (!value || value->type != registry_string)
        return text;
    for (std::size_t i = 0; i + 1 < value->data.size(); i += 2) {
        const char16_t c = char16_t(value->data[i] | value->data[i + 1] << 8);
        if (c == 0)
            break;
        text += c;
    }
    return text;
}

class TcpObexTransport final : public ObexTransport {
public:
    TcpObexTransport(RegistryStore& registry, int wake)
        : m_registry(registry)
        , m_wake(wake)
    {
    }

    ~TcpObexTransport() override
    {
        replace_socket(-1);
        ::close(m_wake);
    }

    bool enumerate_devices(std::vector<ObexDeviceInfo>& devices) override
    {
        m_error = 0;
        devices.clear();
        m_peers.clear();
        for (const auto& entry : detail::split_obex_peers(to_utf8(registry_peer_list(m_registry)))) {
            if (m_shut)
                return fail(ECANCELED);
            Peer peer;
            if (!resolve(entry, peer))
                continue;
            const int fd = open_socket(peer);
            if (fd < 0)
                return false;
            const bool accepted = start_connect(fd, peer) && wait_connected(fd, probe_timeout_ms);
            ::close(fd);
            if (m_shut)
                return fail(ECANCELED);
            if (!accepted)
                continue;
            devices.push_back({ static_cast<std::uint32_t>(m_peers.size()), entry });
            m_peers.push_back(std::move(peer));
        }
        m_error = 0;
        return true;
    }

    bool query_obex_service(std::uint32_t device, int& selector) override
    {
        m_error = 0;
        if (device >= m_peers.size())
            return fail(EINVAL);
        const auto& a = m_peers[device].address;
        selector = ntohs(a.ss_family == AF_INET6 ? reinterpret_cast<const sockaddr_in6&>(a).sin6_port
                                                 : reinterpret_cast<const sockaddr_in&>(a).sin_port);
        return true;
    }

    bool connect(std::uint32_t device, int selector) override
    {
        m_error = 0;
        if (device >= m_peers.size() || selector <= 0 || selector > 65535)
            return fail(EINVAL);
        Peer peer = m_peers[device];
        auto& a = peer.address;
        const auto port = htons(static_cast<std::uint16_t>(selector));
        if (a.ss_family == AF_INET6)
            reinterpret_cast<sockaddr_in6&>(a).sin6_port = port;
        else
            reinterpret_cast<sockaddr_in&>(a).sin_port = port;
        const int fd = open_socket(peer);
        if (fd < 0)
            return false;
        if (!replace_socket(fd))
            return fail(ECANCELED);
        if (!start_connect(fd, peer) || !wait_connected(fd, -1))
            return false;
        const int one = 1;
        setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        return true;
    }

    bool send(std::span<const std::uint8_t> bytes) override
    {
        m_error = 0;
        while (!bytes.empty()) {
            if (m_shut || m_fd < 0)
                return fail(m_shut ? ECANCELED : ENOTCONN);
            const ssize_t n = ::send(m_fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
            if (n > 0) {
                bytes = bytes.subspan(static_cast<std::size_t>(n));
            } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
                return fail(errno);
            } else if (!wait(m_fd, POLLOUT, -1)) {
                return false;
            }
        }
        return true;
    }

    std::ptrdiff_t receive(std::span<std::uint8_t> buffer) override
    {
        m_error = 0;
        for (;;) {
            if (m_shut || m_fd < 0) {
                fail(m_shut ? ECANCELED : ENOTCONN);
                return -1;
            }
            const ssize_t n = ::recv(m_fd, buffer.data(), buffer.size(), 0);
            if (n >= 0)
                return n;
            if (errno != EAGAIN && errno != EINTR) {
                fail(errno);
                return -1;
            }
            if (!wait(m_fd, POLLIN, -1))
                return -1;
        }
    }

    void shutdown() override
    {
        std::lock_guard lock(m_mutex);
        m_shut = true;
        const std::uint64_t one = 1;
        [[maybe_unused]] auto written = ::write(m_wake, &one, sizeof one);
        if (m_fd >= 0)
            ::shutdown(m_fd, SHUT_RDWR);
    }

    int last_error() const override { return m_error; }

private:
    bool fail(int error)
    {
        m_error = error;
        return false;
    }

    bool resolve(const std::string& entry, Peer& peer)
    {
        std::string host;
        std::uint16_t port = 0;
        if (!detail::split_obex_peer(entry, host, port))
            return false;
        addrinfo hints {};
        hints.ai_family = AF_UNSPEC;
        hints.ai_socktype = SOCK_STREAM;
        addrinfo* found = nullptr;
        const std::string service = std::to_string(port);
        if (getaddrinfo(host.c_str(), service.c_str(), &hints, &found) != 0 || !found)
            return false;
        std::memcpy(&peer.address, found->ai_addr, found->ai_addrlen);
        peer.length = found->ai_addrlen;
        peer.entry = entry;
        freeaddrinfo(found);
        return true;
    }

    int open_socket(const Peer& peer)
    {
        const int fd = ::socket(peer.address.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd < 0)
            fail(errno);
        return fd;
    }

    bool start_connect(int fd, const Peer& peer)
    {
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&peer.address), peer.length) == 0
            || errno == EINPROGRESS)
            return true;
        return fail(errno);
    }

    bool wait_connected(int fd, int timeout_ms)
    {
        if (!wait(fd, POLLOUT, timeout_ms))
            return false;
        int error = 0;
        socklen_t length = sizeof error;
        if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0)
            return fail(errno);
        return error == 0 || fail(error);
    }

    // False on timeout, error or shutdown.
    bool wait(int fd, short events, int timeout_ms)
    {
        for (;;) {
            pollfd fds[2] = { { fd, events, 0 }, { m_wake, POLLIN, 0 } };
            const int n = ::poll(fds, 2, timeout_ms);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                return fail(errno);
            if (n == 0)
                return fail(ETIMEDOUT);
            if (fds[1].revents || m_shut)
                return fail(ECANCELED);
            return true;
        }
    }

    // The old socket is closed; false (and the new one closed) after shutdown.
    bool replace_socket(int fd)
    {
        std::lock_guard lock(m_mutex);
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
        if (m_shut) {
            if (fd >= 0)
                ::close(fd);
            return false;
        }
        m_fd = fd;
        return true;
    }

    RegistryStore& m_registry;
    const int m_wake;
    std::mutex m_mutex; // guards m_fd against shutdown from another thread
    int m_fd = -1;
    std::atomic<bool> m_shut = false;
    int m_error = 0;
    std::vector<Peer> m_peers;
};

}

std::unique_ptr<ObexTransport> create_obex_transport(RegistryStore& registry)
{
    const int wake = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wake < 0)
        return nullptr;
    return std::make_unique<TcpObexTransport>(registry, wake);
}

}
