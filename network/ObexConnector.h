#pragma once

#include "liba/Mutex.h"
#include "platform/core/ObexTransport.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace network {

// Sends one file to a nearby device with OBEX PUT. A worker thread runs
// discovery, connect and send in turn; another thread may read the progress
// and the success flag and call shutdown at any time.
class ObexConnector {
public:
    struct Device {
        std::uint32_t device_id = 0;
        int service = 0; // the selector of the device's OBEX service
        std::u16string name;
    };

    using TransportFactory = std::function<std::unique_ptr<platform::ObexTransport>()>;

    ObexConnector();
    // With another transport than the system's.
    explicit ObexConnector(TransportFactory factory);
    ~ObexConnector();
    ObexConnector(const ObexConnector&) = delete;
    ObexConnector& operator=(const ObexConnector&) = delete;

    // True also when no device is in range.
    bool discover_devices();

    const std::vector<Device>& get_devices() const { return m_devices; }

    bool connect(std::size_t device_index);
    bool send_file(std::u16string_view path);

    double get_progress();

    bool succeeded() const { return m_success; }

    // Makes every step give up at its next check, and ends a blocked one.
    void shutdown();

private:
    bool closed() const { return m_closed; }

    void set_progress(double progress);
    // The transport's reason for its last failure; 0 when it gave none.
    int transport_error() const;
    // Traces what failed (with the system's error code, when not 0) and
    // clears the success flag.
    bool fail(std::u16string_view what, int code);

    std::atomic<bool> m_success = true;
    double m_progress = 0;
    std::atomic<bool> m_closed = false;
    TransportFactory m_factory;
    std::unique_ptr<platform::ObexTransport> m_transport;
    std::vector<Device> m_devices;
    std::uint16_t m_packet_size;
    liba::Mutex m_lock;
};

}
