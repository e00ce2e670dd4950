#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace platform {

class RegistryStore;

// A device that answered discovery.
struct ObexDeviceInfo {
    std::uint32_t id = 0;
    std::string name; // 8-bit, in the ANSI code page
};

// The stream connection to an OBEX peer that the infrared socket gives on the
// handheld. Used by one worker thread; only shutdown may come from another.
class ObexTransport {
public:
    virtual ~ObexTransport() = default;

    // The devices in range now (possibly none); false on a transport error.
    virtual bool enumerate_devices(std::vector<ObexDeviceInfo>& devices) = 0;
    // The selector of the device's OBEX service; false when it cannot be asked.
    virtual bool query_obex_service(std::uint32_t device, int& selector) = 0;
    virtual bool connect(std::uint32_t device, int selector) = 0;
    // Sends every byte or fails.
    virtual bool send(std::span<const std::uint8_t> bytes) = 0;
    // What has arrived, at most the buffer's size: the count, 0 when the peer
    // has closed, -1 on an error.
    virtual std::ptrdiff_t receive(std::span<std::uint8_t> buffer) = 0;
    // Safe from any thread: a connect, send or receive in progress returns
    // with failure, and so does every later one.
    virtual void shutdown() = 0;
    // The system's error code of the last call: 0 when it succeeded, or when
    // it failed without one (the peer closed the connection, say).
    virtual int last_error() const = 0;

    // One whole OBEX response: the code, the big-endian length field and as
    // many bytes as that field counts, however the stream cuts them. False
    // when the stream fails or ends first, or the length is below 3.
    bool receive_response(std::vector<std::uint8_t>& response);

private:
    bool receive_exactly(std::uint8_t* buffer, std::size_t count);
};

// OBEX over TCP: the devices are the peers listed in the registry value
// "ObexPeers" under "HKEY_CURRENT_USER\Software\Qiro", entries "host",
// "host:port" or "[v6 address]:port" separated by ';', ',' or white space
// (port 650 when none is given). A peer is in range when it accepts a
// connection within half a second. Null when the system refuses the resources.
std::unique_ptr<ObexTransport> create_obex_transport(RegistryStore& registry);

constexpr std::uint16_t obex_tcp_port = 650;

}
