#pragma once

#include "platform/core/ObexTransport.h"

#include <algorithm>
#include <cerrno>
#include <deque>
#include <functional>

namespace test {

// A scripted transport: each send is recorded and handed to the peer
// function, whose answer is then served in chunks of chunk_size bytes.
class FakeObexTransport : public platform::ObexTransport {
public:
    using Peer = std::function<std::vector<std::uint8_t>(const std::vector<std::uint8_t>& request)>;

    struct Script {
        std::vector<platform::ObexDeviceInfo> devices;
        int empty_enumerations = 0; // answers without devices before the list
        bool enumerate_error = false;
        bool query_error = false;
        int failing_connects = 0;
        Peer peer;
        std::size_t chunk_size = 65536;
        std::function<void(std::size_t packet)> after_send; // runs after each recorded send
        int enumerations = 0;
        std::vector<std::vector<std::uint8_t>> sent;
    };

    explicit FakeObexTransport(Script& script)
        : m_script(script)
    {
    }

    bool enumerate_devices(std::vector<platform::ObexDeviceInfo>& devices) override
    {
        ++m_script.enumerations;
        if (m_script.enumerate_error)
            return fail(EIO);
        devices.clear();
        if (m_script.enumerations > m_script.empty_enumerations)
            devices = m_script.devices;
        return true;
    }

    bool query_obex_service(std::uint32_t device, int& selector) override
    {
        if (m_script.query_error)
            return fail(EIO);
        selector = int(device) + 1;
        return true;
    }

    bool connect(std::uint32_t, int) override
    {
        if (m_shut)
            return fail(ECANCELED);
        if (m_script.failing_connects > 0) {
            --m_script.failing_connects;
            return fail(ECONNREFUSED);
        }
        return true;
    }

    bool send(std::span<const std::uint8_t> bytes) override
    {
        if (m_shut)
            return fail(ECANCELED);
        m_script.sent.emplace_back(bytes.begin(), bytes.end());
        if (m_script.peer) {
            const auto answer = m_script.peer(m_script.sent.back());
            m_incoming.insert(m_incoming.end(), answer.begin(), answer.end());
        }
        if (m_script.after_send)
            m_script.after_send(m_script.sent.size());
        return true;
    }

    std::ptrdiff_t receive(std::span<std::uint8_t> buffer) override
    {
        if (m_shut) {
            fail(ECANCELED);
            return -1;
        }
        const std::size_t n = std::min({ buffer.size(), m_script.chunk_size, m_incoming.size() });
        std::copy_n(m_incoming.begin(), n, buffer.begin());
        m_incoming.erase(m_incoming.begin(), m_incoming.begin() + std::ptrdiff_t(n));
        return std::ptrdiff_t(n);
    }

    void shutdown() override { m_shut = true; }

    int last_error() const override { return m_error; }

private:
    bool fail(int error)
    {
        m_error = error;
        return false;
    }

    Script& m_script;
    std::deque<std::uint8_t> m_incoming;
    bool m_shut = false;
    int m_error = 0;
};

// A peer that accepts CONNECT with the given packet size and answers every
// PUT packet with Continue, the last with Success.
inline FakeObexTransport::Peer accepting_peer(std::uint16_t packet_size, std::uint8_t put_answer = 0)
{
    return [=](const std::vector<std::uint8_t>& request) -> std::vector<std::uint8_t> {
        if (request[0] == 0x80)
            return { 0xA0, 0x00, 0x07, 0x10, 0x00, std::uint8_t(packet_size >> 8),
                std::uint8_t(packet_size) };
        const std::uint8_t code = put_answer ? put_answer : request[0] == 0x82 ? 0xA0 : 0x90;
        return { code, 0x00, 0x03 };
    };
}

}
