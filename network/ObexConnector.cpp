#include "network/ObexConnector.h"

#include "liba/Conversion.h"
#include "liba/MutexLock.h"
#include "liba/Path.h"
#include "network/Obex.h"
#include "network/ObexPutPacket.h"
#include "os/File.h"
#include "os/Log.h"
#include "os/PathMacros.h"
#include "os/Registry.h"
#include "platform/core/Thread.h"

#include <algorithm>
#include <cstring>

namespace network {

namespace {

constexpr int attempts = 10;
constexpr std::uint32_t discovery_pause_ms = 200;

// One trace line: what failed, then the system's reason when it gave one.
void trace_failure(std::u16string_view what, int code)
{
    std::u16string line = u"ObexConnector: ";
    line += what;
    if (code != 0) {
        std::u16string number;
        liba::format_int(code, number);
        line += u" (error " + number;
        if (const char* reason = strerrordesc_np(code))
            line += u": " + liba::to_wide(reason);
        line += u')';
    }
    line += u'\n';
    os::log() << std::u16string_view(line);
}

}

ObexConnector::ObexConnector()
    : ObexConnector([] { return platform::create_obex_transport(os::registry_store()); })
{
}

ObexConnector::ObexConnector(TransportFactory factory)
    : m_factory(std::move(factory))
    , m_packet_size(obex_largest_packet)
{
}

ObexConnector::~ObexConnector() = default;

double ObexConnector::get_progress()
{
    liba::MutexLock lock(m_lock);
    return m_progress;
}

void ObexConnector::set_progress(double progress)
{
    liba::MutexLock lock(m_lock);
    m_progress = progress;
}

void ObexConnector::shutdown()
{
    liba::MutexLock lock(m_lock);
    if (m_closed)
        return;
    m_closed = true;
    if (m_transport)
        m_transport->shutdown();
}

int ObexConnector::transport_error() const
{
    return m_transport ? m_transport->last_error() : 0;
}

bool ObexConnector::fail(std::u16string_view what, int code)
{
    trace_failure(what, code);
    m_success = false;
    return false;
}

bool ObexConnector::discover_devices()
{
    m_success = true;
    {
        liba::MutexLock lock(m_lock);
        if (closed())
            return false;
        m_transport.reset();
        m_transport = m_factory();
        if (!m_transport)
            return fail(u"can't make the transport", 0);
    }

    std::vector<platform::ObexDeviceInfo> found;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        set_progress(attempt * 0.1);
        if (closed())
            return false;
        if (!m_transport->enumerate_devices(found)) {
            set_progress(0);
            return fail(u"can't look for devices", transport_error());
        }
        if (!found.empty())
            break;
        platform::sleep_ms(discovery_pause_ms);
    }

    m_devices.clear();
    for (const auto& info : found) {
        if (closed())
            return false;
        int service = 0;
        if (!m_transport->query_obex_service(info.id, service)) {
            set_progress(0);
            return fail(u"can't ask a device for its OBEX service", transport_error());
        }
        m_devices.push_back({ info.id, service, liba::to_wide(info.name) });
    }
    set_progress(1);
    return true;
}

bool ObexConnector::connect(std::size_t device_index)
{
    if (closed() || !m_success)
        return false;
    const auto failed = [this](std::u16string_view what, int code) {
        set_progress(0);
        return fail(what, code);
    };
    if (!m_transport || device_index >= m_devices.size())
        return failed(u"no device of that number to connect to", 0);

    const Device& device = m_devices[device_index];
    bool connected = false;
    for (int attempt = 0; attempt < attempts && !connected; ++attempt) {
        set_progress(attempt * 0.1);
        if (closed())
            return false;
        connected = m_transport->connect(device.device_id, device.service);
    }
    if (!connected)
        return failed(u"can't connect to the device", transport_error());

    const auto request = obex_connect_request();
    if (!m_transport->send(request))
        return failed(u"can't send the connect request", transport_error());
    if (closed())
        return false;

    std::vector<std::uint8_t> response;
    if (!m_transport->receive_response(response))
        return failed(u"no whole answer to the connect request", transport_error());
    const auto packet_size = obex_connect_packet_size(response);
    if (!packet_size)
        return failed(u"the device refused the connection", 0);
    m_packet_size = *packet_size;
    set_progress(1);
    return true;
}

bool ObexConnector::send_file(std::u16string_view path)
{
    const std::u16string full_path = os::expand_path_macros(path);
    os::File file(full_path, os::File::Mode::read);
    const std::uint64_t size = file.size();
    // A file that cannot be read whole, or whose size the Length header
    // cannot hold, is not sent at all.
    if (!file.is_ok() || size > 0xFFFFFFFFu) {
        m_success = false;
        return false;
    }
    ObexPutPacket packet(liba::get_file_name(full_path), static_cast<std::uint32_t>(size), m_packet_size);
    if (packet.header_size() > m_packet_size || (size > 0 && packet.capacity() == 0)) {
        m_success = false;
        return false;
    }

    std::uint64_t done = 0;
    std::vector<std::uint8_t> response;
    do {
        if (closed())
            return false;
        const std::size_t count
            = static_cast<std::size_t>(std::min<std::uint64_t>(packet.capacity(), size - done));
        if (file.read(packet.data(), count) != count) {
            // The file shrank since its size was taken.
            m_success = false;
            return false;
        }
        done += count;
        set_progress(size ? double(done) / double(size) : 1.0);
        const bool last = done == size;
        if (!m_transport || !m_transport->send(packet.finish(count, last)))
            return fail(u"can't send a part of the file", transport_error());
        if (!m_transport->receive_response(response))
            return fail(u"no whole answer to a part of the file", transport_error());
        if (!obex_put_accepted(response))
            return fail(u"the device refused a part of the file", 0);
    } while (done < size);
    set_progress(1);
    return true;
}

}
