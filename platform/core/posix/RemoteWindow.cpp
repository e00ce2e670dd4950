#include "platform/core/RemoteWindow.h"

#include "platform/core/RuntimeDirectory.h"
#include "platform/core/Utf8.h"
#include "platform/core/detail/MessageState.h"
#include "platform/core/detail/RemoteProtocol.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace platform {

using namespace detail;

namespace {

constexpr int receive_timeout_ms = 2000;

using SteadyClock = std::chrono::steady_clock;

int remaining_ms(SteadyClock::time_point deadline)
{
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyClock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

// Moves all n bytes through a non-blocking socket before the deadline.
bool transfer(int fd, void* buffer, std::size_t n, SteadyClock::time_point deadline, bool sending)
{
    auto* p = static_cast<unsigned char*>(buffer);
    while (n > 0) {
        ssize_t done = sending ? send(fd, p, n, MSG_NOSIGNAL) : recv(fd, p, n, 0);
        if (done > 0) {
            p += done;
            n -= static_cast<std::size_t>(done);
            continue;
        }
        if (done == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR))
            return false;
        pollfd pfd { fd, static_cast<short>(sending ? POLLOUT : POLLIN), 0 };
        int left = remaining_ms(deadline);
        if (left == 0 || (poll(&pfd, 1, left) <= 0 && errno != EINTR))
            return false;
    }
    return true;
}

bool socket_address(const std::string& path, sockaddr_un& address)
{
    address = {};
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

std::string socket_path(std::u16string_view class_name)
{
    return runtime_file("window-", class_name);
}

bool peer(int fd, ucred& credentials)
{
    socklen_t length = sizeof credentials;
    return getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &length) == 0
        && credentials.uid == geteuid();
}

void reply(int fd, RemoteStatus status, LResult result, SteadyClock::time_point deadline)
{
    auto bytes = reply_bytes(status, result);
    transfer(fd, bytes.data(), bytes.size(), deadline, true);
}

// True once the sender has hung up or reset: it no longer waits for the answer.
bool sender_gone(int fd)
{
    pollfd pfd { fd, POLLIN | POLLRDHUP, 0 };
    if (poll(&pfd, 1, 0) <= 0)
        return false;
    return (pfd.revents & (POLLHUP | POLLRDHUP | POLLERR)) != 0;
}

struct Payload {
    ReceivedRequest request;
    CopyData record;
};

// One request on an accepted connection of the endpoint for class_name. A request whose
// sender gives up before the window's thread takes it is withdrawn, so it never runs late.
void serve_connection(int fd, const std::u16string& class_name)
{
    ucred credentials;
    if (!peer(fd, credentials))
        return;
    auto deadline = SteadyClock::now() + std::chrono::milliseconds(receive_timeout_ms);
    auto payload = std::make_shared<Payload>();
    const Framing framing = read_request(
        [&](void* buffer, std::size_t n) { return transfer(fd, buffer, n, deadline, false); }, payload->request);
    if (framing == Framing::refused)
        reply(fd, RemoteStatus::failed, 0, deadline);
    if (framing != Framing::complete)
        return;
    const RemoteRequest& request = payload->request.fields;
    const MessageId message = request.message;
    auto& bytes = payload->request.data;
    payload->record = { static_cast<std::uintptr_t>(request.data_word), request.data_bytes,
        bytes.empty() ? nullptr : bytes.data() };

    Window window = no_window;
    if (credentials.pid != getpid()
        && fold_case(from_utf8(payload->request.class_name)) == fold_case(class_name))
        window = first_top_level_window(class_name);
    std::optional<LResult> result;
    if (window != no_window) {
        LParam lparam = message == msg::copy_data ? copy_data_message.lparam(&payload->record) : 0;
        result = send_keeping(window, message, static_cast<WParam>(request.wparam), lparam, payload,
            [fd] { return sender_gone(fd); });
        if (!result && sender_gone(fd))
            return;
    }
    deadline = SteadyClock::now() + std::chrono::milliseconds(receive_timeout_ms);
    reply(fd, result ? RemoteStatus::delivered : RemoteStatus::no_window, result.value_or(0), deadline);
}

// Connections are served each on a thread of its own, so a slow or idle one holds up
// nobody; beyond this many at once the next waits in the backlog.
constexpr int max_connections = 16;

struct Endpoint {
    std::u16string class_name;
    std::string path;
    int listener = -1;
    int stop[2] = { -1, -1 }; // the listener owns the read end, the last window the write end
    int windows = 0;
    std::atomic<int> connections { 0 };
};

std::mutex endpoints_mutex;

std::map<std::u16string, std::shared_ptr<Endpoint>>& endpoints()
{
    static auto* map = new std::map<std::u16string, std::shared_ptr<Endpoint>>;
    return *map;
}

void listen_loop(std::shared_ptr<Endpoint> endpoint)
{
    for (;;) {
        const bool full = endpoint->connections.load() >= max_connections;
        pollfd fds[2] = { { endpoint->stop[0], POLLIN, 0 }, { endpoint->listener, POLLIN, 0 } };
        if (poll(fds, full ? 1 : 2, full ? 20 : -1) < 0 && errno != EINTR)
            break;
        if (fds[0].revents)
            break;
        if (full || !fds[1].revents)
            continue;
        int fd = accept4(endpoint->listener, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0)
            continue;
        ++endpoint->connections;
        std::thread([endpoint, fd] {
            serve_connection(fd, endpoint->class_name);
            close(fd);
            --endpoint->connections;
        }).detach();
    }
    close(endpoint->listener);
    close(endpoint->stop[0]);
}

// A socket file whose owner no longer listens is stale.
bool someone_listens(const sockaddr_un& address)
{
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return false;
    int rc = connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    bool alive = rc == 0 || errno == EAGAIN || errno == EINPROGRESS;
    close(fd);
    return alive;
}

int bind_listener(const std::string& path)
{
    sockaddr_un address;
    if (!socket_address(path, address))
        return -1;
    // Serialises the stale check and the bind against another process doing the same.
    int lock = open((path + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (lock < 0)
        return -1;
    while (flock(lock, LOCK_EX) != 0 && errno == EINTR) { }
    int fd = -1;
    if (!someone_listens(address)) {
        unlink(path.c_str());
        fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        if (fd >= 0
            && (bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0
                || chmod(path.c_str(), 0600) != 0 || listen(fd, 16) != 0)) {
            close(fd);
            fd = -1;
        }
    }
    close(lock);
    return fd;
}

}

namespace detail {

void reachable_window_created(const std::u16string& class_name)
{
    std::lock_guard lock(endpoints_mutex);
    auto& endpoint = endpoints()[fold_case(class_name)];
    if (endpoint) {
        ++endpoint->windows;
        return;
    }
    endpoint = std::make_shared<Endpoint>();
    endpoint->class_name = class_name;
    endpoint->windows = 1;
    endpoint->path = socket_path(class_name);
    endpoint->listener = bind_listener(endpoint->path);
    if (endpoint->listener < 0)
        return; // another process answers for the class, or there is no runtime folder
    if (pipe2(endpoint->stop, O_CLOEXEC) != 0) {
        close(endpoint->listener);
        endpoint->listener = -1;
        unlink(endpoint->path.c_str());
        return;
    }
    std::thread(listen_loop, endpoint).detach();
}

void reachable_window_destroyed(const std::u16string& class_name)
{
    std::lock_guard lock(endpoints_mutex);
    auto it = endpoints().find(fold_case(class_name));
    if (it == endpoints().end() || --it->second->windows > 0)
        return;
    auto endpoint = it->second;
    endpoints().erase(it);
    if (endpoint->listener >= 0) {
        unlink(endpoint->path.c_str());
        close(endpoint->stop[1]); // the listener sees the hang-up and ends
    }
}

}

namespace {

// A connection to the endpoint of another process of this user, or -1 with the reason
// (no_window when nobody listens or only this process does).
int connect_endpoint(std::u16string_view class_name, SteadyClock::time_point deadline, RemoteStatus& failure)
{
    failure = RemoteStatus::failed;
    sockaddr_un address;
    if (!socket_address(socket_path(class_name), address))
        return -1;
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return -1;
    for (;;) {
        if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0)
            break;
        if (errno == ENOENT || errno == ECONNREFUSED) {
            close(fd);
            failure = RemoteStatus::no_window;
            return -1;
        }
        // A full backlog: the other side is busy; try again until the deadline.
        if ((errno != EAGAIN && errno != EINTR) || remaining_ms(deadline) == 0) {
            close(fd);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ucred credentials;
    if (!peer(fd, credentials)) {
        close(fd);
        return -1;
    }
    if (credentials.pid == getpid()) {
        close(fd);
        failure = RemoteStatus::no_window;
        return -1;
    }
    return fd;
}

}

RemoteReply send_to_other_process(std::u16string_view class_name, MessageId message, WParam wparam,
    const CopyData* data, std::uint32_t timeout_ms)
{
    RemoteReply answer;
    bool copy = message == msg::copy_data;
    if ((copy && !data) || (!copy && message != msg::user_command))
        return answer;
    std::string name = to_utf8(class_name);
    std::uint32_t data_bytes = copy ? data->size : 0;
    if (name.size() > max_class_bytes || data_bytes > max_data_bytes)
        return answer;

    auto deadline = SteadyClock::now() + std::chrono::milliseconds(timeout_ms);
    int fd = connect_endpoint(class_name, deadline, answer.status);
    if (fd < 0)
        return answer;

    RemoteRequest fields { message, static_cast<std::uint32_t>(name.size()), wparam,
        copy ? static_cast<std::uint64_t>(data->data_word) : 0, data_bytes };
    auto header = request_header(fields);
    std::vector<unsigned char> request(header.begin(), header.end());
    request.insert(request.end(), name.begin(), name.end());
    if (data_bytes)
        request.insert(request.end(), static_cast<const unsigned char*>(data->bytes),
            static_cast<const unsigned char*>(data->bytes) + data_bytes);

    unsigned char buffer[reply_size];
    bool sent = transfer(fd, request.data(), request.size(), deadline, true);
    bool answered = sent && transfer(fd, buffer, sizeof buffer, deadline, false);
    close(fd); // a request still waiting over there is withdrawn
    if (!answered) {
        if (remaining_ms(deadline) == 0)
            answer.status = RemoteStatus::unanswered;
        return answer;
    }
    return read_reply(buffer).value_or(answer);
}

bool wait_for_other_process_window(std::u16string_view class_name, std::uint32_t timeout_ms)
{
    auto deadline = SteadyClock::now() + std::chrono::milliseconds(timeout_ms);
    for (;;) {
        RemoteStatus failure;
        int fd = connect_endpoint(class_name, deadline, failure);
        if (fd >= 0) {
            close(fd); // the endpoint takes a connection without a request as nothing
            return true;
        }
        if (remaining_ms(deadline) == 0)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(std::min(20, remaining_ms(deadline))));
    }
}

}
