#include "network/ObexConnector.h"

#include "network/Obex.h"
#include "os/Log.h"
#include "os/Registry.h"
#include "platform/core/Utf8.h"
#include "tests/network/support/FakeObexTransport.h"
#include "tests/support/EnvironmentOverride.h"
#include "tests/support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

using network::ObexConnector;
using test::FakeObexTransport;

namespace {

using Bytes = std::vector<std::uint8_t>;

std::string pattern(std::size_t size)
{
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = char(i * 7 + i / 251);
    return bytes;
}

ObexConnector::TransportFactory factory(FakeObexTransport::Script& script)
{
    return [&script] { return std::make_unique<FakeObexTransport>(script); };
}

// A connector past discovery and connect with a peer of the given packet size.
struct Beam {
    explicit Beam(std::uint16_t packet_size = 2048)
        : connector(factory(script))
    {
        script.devices = { { 7, "Peer" } };
        script.peer = test::accepting_peer(packet_size);
        EXPECT_TRUE(connector.discover_devices());
        EXPECT_TRUE(connector.connect(0));
        script.sent.clear();
    }

    FakeObexTransport::Script script;
    ObexConnector connector;
    test::TempDir dir;
};

std::size_t be16(const Bytes& b, std::size_t at)
{
    return std::size_t(b[at]) << 8 | b[at + 1];
}

// The body bytes of each PUT packet, after checking its layout.
std::vector<std::string> bodies(
    const std::vector<Bytes>& packets, std::u16string_view name, std::uint32_t size)
{
    std::vector<std::string> result;
    const std::size_t n = name.size();
    for (std::size_t i = 0; i < packets.size(); ++i) {
        const Bytes& p = packets[i];
        const bool last = i + 1 == packets.size();
        EXPECT_EQ(p[0], last ? 0x82 : 0x02);
        EXPECT_EQ(be16(p, 1), p.size());
        EXPECT_EQ(p[3], 0x01);
        EXPECT_EQ(be16(p, 4), 5 + 2 * n);
        for (std::size_t c = 0; c < n; ++c)
            EXPECT_EQ(be16(p, 6 + 2 * c), name[c]);
        EXPECT_EQ(be16(p, 6 + 2 * n), 0u);
        EXPECT_EQ(p[8 + 2 * n], 0xC3);
        EXPECT_EQ(
            std::uint32_t(p[9 + 2 * n]) << 24 | p[10 + 2 * n] << 16 | p[11 + 2 * n] << 8 | p[12 + 2 * n],
            size);
        EXPECT_EQ(p[13 + 2 * n], last ? 0x49 : 0x48);
        EXPECT_EQ(be16(p, 14 + 2 * n), p.size() - (16 + 2 * n) + 3);
        result.emplace_back(p.begin() + std::ptrdiff_t(16 + 2 * n), p.end());
    }
    return result;
}

}

TEST(ObexConnector, ConnectSendsTheRequestAndKeepsThePeersPacketSize)
{
    FakeObexTransport::Script script;
    script.devices = { { 3, "Caf\xe9" } };
    script.empty_enumerations = 2;
    script.peer = test::accepting_peer(512);
    ObexConnector connector(factory(script));
    ASSERT_TRUE(connector.discover_devices());
    EXPECT_EQ(script.enumerations, 3);
    ASSERT_EQ(connector.get_devices().size(), 1u);
    EXPECT_EQ(connector.get_devices()[0].name, u"Caf\u00e9");
    EXPECT_EQ(connector.get_devices()[0].device_id, 3u);
    EXPECT_EQ(connector.get_devices()[0].service, 4);
    EXPECT_EQ(connector.get_progress(), 1.0);

    ASSERT_TRUE(connector.connect(0));
    EXPECT_EQ(script.sent.at(0), (Bytes { 0x80, 0x00, 0x07, 0x10, 0x00, 0x08, 0x00 }));
    EXPECT_EQ(connector.get_progress(), 1.0);

    test::TempDir dir;
    const std::string file = dir.write("a.txt", pattern(1000));
    ASSERT_TRUE(connector.send_file(platform::from_utf8(file)));
    for (std::size_t i = 1; i < script.sent.size(); ++i)
        EXPECT_LE(script.sent[i].size(), 512u);
    EXPECT_EQ(script.sent.size(), 1 + 3u); // 486 + 486 + 28
}

TEST(ObexConnector, FileIsCutIntoPacketsOfTheNegotiatedSize)
{
    Beam beam;
    const std::string data = pattern(5000);
    const std::string file = beam.dir.write("a.txt", data);
    std::vector<double> progress;
    beam.script.after_send = [&](std::size_t) { progress.push_back(beam.connector.get_progress()); };
    ASSERT_TRUE(beam.connector.send_file(platform::from_utf8(file)));
    EXPECT_TRUE(beam.connector.succeeded());

    const auto chunks = bodies(beam.script.sent, u"a.txt", 5000);
    ASSERT_EQ(chunks.size(), 3u);
    EXPECT_EQ(chunks[0].size(), 2022u);
    EXPECT_EQ(chunks[1].size(), 2022u);
    EXPECT_EQ(chunks[2].size(), 956u);
    EXPECT_EQ(chunks[0] + chunks[1] + chunks[2], data);
    EXPECT_EQ(beam.script.sent[0].size(), 2048u);
    EXPECT_EQ(progress, (std::vector<double> { 2022 / 5000.0, 4044 / 5000.0, 1.0 }));
}

TEST(ObexConnector, EmptyFileIsOneFinalPacketWithAnEmptyEndOfBody)
{
    Beam beam;
    const std::string file = beam.dir.write("e", "");
    ASSERT_TRUE(beam.connector.send_file(platform::from_utf8(file)));
    ASSERT_EQ(beam.script.sent.size(), 1u);
    EXPECT_EQ(beam.script.sent[0],
        (Bytes {
            0x82, 0x00, 0x12, 0x01, 0x00, 0x07, 0x00, 'e', 0x00, 0x00, 0xC3, 0, 0, 0, 0, 0x49, 0x00, 0x03 }));
    EXPECT_EQ(beam.connector.get_progress(), 1.0);
}

TEST(ObexConnector, ResponsesArrivingByteByByteAreReadWhole)
{
    Beam beam;
    beam.script.chunk_size = 1;
    // A response with headers after the code and length must be consumed whole too.
    beam.script.peer = [](const Bytes& request) -> Bytes {
        if (request[0] == 0x82)
            return { 0xA0, 0x00, 0x08, 0xCB, 0, 0, 0, 1 };
        return { 0x90, 0x00, 0x03 };
    };
    const std::string file = beam.dir.write("b.bin", pattern(6000));
    ASSERT_TRUE(beam.connector.send_file(platform::from_utf8(file)));
    EXPECT_EQ(beam.script.sent.size(), 3u);
}

TEST(ObexConnector, PutAnswersOtherThanContinueOrSuccessFailTheTransfer)
{
    const std::pair<std::uint8_t, bool> cases[] = {
        { 0x90, true }, { 0xA0, true }, { 0xC3, false }, // forbidden
        { 0xCD, false }, // entity too large
        { 0x10, false }, // continue without the final bit
    };
    for (const auto& [code, accepted] : cases) {
        SCOPED_TRACE(int(code));
        Beam beam;
        beam.script.peer = test::accepting_peer(2048, code);
        const std::string file = beam.dir.write("c", pattern(3000));
        EXPECT_EQ(beam.connector.send_file(platform::from_utf8(file)), accepted);
        EXPECT_EQ(beam.connector.succeeded(), accepted);
        EXPECT_EQ(beam.script.sent.size(), accepted ? 2u : 1u);
    }
}

TEST(ObexConnector, ConnectResponsesDecideThePacketSize)
{
    const std::pair<Bytes, std::optional<std::uint16_t>> cases[] = {
        { { 0xA0, 0x00, 0x07, 0x10, 0x00, 0x10, 0x00 }, 2048 },
        { { 0xA0, 0x00, 0x07, 0x10, 0x00, 0x02, 0x00 }, 512 },
        { { 0xA0, 0x00, 0x07, 0x10, 0x00, 0x00, 0xFF }, 255 },
        { { 0xA0, 0x00, 0x07, 0x10, 0x00, 0x00, 0xFE }, std::nullopt }, // below the OBEX floor
        { { 0xA0, 0x00, 0x07, 0x10, 0x00, 0x00, 0x00 }, std::nullopt },
        { { 0xC3, 0x00, 0x07, 0x10, 0x00, 0x08, 0x00 }, std::nullopt },
        { { 0xA0, 0x00, 0x05, 0x10, 0x00 }, std::nullopt }, // too short to hold a size
        { { 0xA0, 0x00, 0x0C, 0x10, 0x00, 0x04, 0x00, 0xCB, 0, 0, 0, 1 }, 1024 },
    };
    for (const auto& [response, size] : cases) {
        SCOPED_TRACE(testing::PrintToString(response));
        EXPECT_EQ(network::obex_connect_packet_size(response), size);

        FakeObexTransport::Script script;
        script.devices = { { 1, "x" } };
        script.peer = [&](const Bytes&) { return response; };
        ObexConnector connector(factory(script));
        ASSERT_TRUE(connector.discover_devices());
        EXPECT_EQ(connector.connect(0), size.has_value());
        EXPECT_EQ(connector.succeeded(), size.has_value());
        EXPECT_EQ(connector.get_progress(), size ? 1.0 : 0.0);
    }
}

TEST(ObexConnector, BrokenResponseStreamsFail)
{
    const Bytes cases[] = {
        {}, // the peer closed
        { 0xA0, 0x00 }, // closed inside the header
        { 0xA0, 0x00, 0x02 }, // a length that cannot hold its own header
        { 0xA0, 0x00, 0x09, 0x10, 0x00, 0x08, 0x00 }, // closed before the announced end
    };
    for (const auto& response : cases) {
        SCOPED_TRACE(testing::PrintToString(response));
        FakeObexTransport::Script script;
        script.devices = { { 1, "x" } };
        script.peer = [&](const Bytes&) { return response; };
        ObexConnector connector(factory(script));
        ASSERT_TRUE(connector.discover_devices());
        EXPECT_FALSE(connector.connect(0));
        EXPECT_FALSE(connector.succeeded());
    }
}

TEST(ObexConnector, ConnectTriesTenTimes)
{
    for (const int failures : { 9, 10 }) {
        FakeObexTransport::Script script;
        script.devices = { { 1, "x" } };
        script.peer = test::accepting_peer(2048);
        script.failing_connects = failures;
        ObexConnector connector(factory(script));
        ASSERT_TRUE(connector.discover_devices());
        EXPECT_EQ(connector.connect(0), failures < 10);
        EXPECT_EQ(script.sent.size(), failures < 10 ? 1u : 0u);
        EXPECT_EQ(connector.get_progress(), failures < 10 ? 1.0 : 0.0);
    }
}

TEST(ObexConnector, FailedStepsClearTheSuccessFlagUntilTheNextDiscovery)
{
    FakeObexTransport::Script script;
    script.devices = { { 1, "x" } };
    script.query_error = true;
    ObexConnector connector(factory(script));
    EXPECT_FALSE(connector.discover_devices());
    EXPECT_FALSE(connector.succeeded());
    EXPECT_EQ(connector.get_progress(), 0.0);
    EXPECT_FALSE(connector.connect(0)); // refused at once: the flag is clear

    script.query_error = false;
    script.enumerate_error = true;
    EXPECT_FALSE(connector.discover_devices());
    EXPECT_FALSE(connector.succeeded());

    script.enumerate_error = false;
    script.peer = test::accepting_peer(2048);
    EXPECT_TRUE(connector.discover_devices());
    EXPECT_TRUE(connector.succeeded());
    EXPECT_FALSE(connector.connect(5)); // no such device
    EXPECT_FALSE(connector.succeeded());
}

TEST(ObexConnector, NoTransportFailsDiscovery)
{
    ObexConnector connector([] { return std::unique_ptr<platform::ObexTransport>(); });
    EXPECT_FALSE(connector.discover_devices());
    EXPECT_FALSE(connector.succeeded());
    EXPECT_FALSE(connector.connect(0));
    test::TempDir dir;
    EXPECT_FALSE(connector.send_file(platform::from_utf8(dir.write("f", "x"))));
}

TEST(ObexConnector, FilesThatCannotBeSentWholeAreRefusedBeforeAnyPacket)
{
    Beam beam(255);
    // 16 + 2 x 120 = 256 bytes of headers do not fit into 255.
    const std::string long_name = std::string(120, 'n');
    const std::string cases[] = {
        beam.dir.file("missing"),
        beam.dir.path(), // a folder
        beam.dir.write(long_name, "x"),
    };
    for (const auto& path : cases) {
        SCOPED_TRACE(path);
        EXPECT_FALSE(beam.connector.send_file(platform::from_utf8(path)));
        EXPECT_FALSE(beam.connector.succeeded());
        EXPECT_TRUE(beam.script.sent.empty());
    }
}

TEST(ObexConnector, FileThatShrinksDuringTheTransferFails)
{
    Beam beam;
    const std::string file = beam.dir.write("s", pattern(5000));
    beam.script.after_send = [&](std::size_t) { ASSERT_EQ(truncate(file.c_str(), 3000), 0); };
    EXPECT_FALSE(beam.connector.send_file(platform::from_utf8(file)));
    EXPECT_FALSE(beam.connector.succeeded());
    // The second packet would have needed 2022 bytes from 978 left: nothing stale goes out.
    EXPECT_EQ(beam.script.sent.size(), 1u);
}

TEST(ObexConnector, ShutdownStopsEveryStep)
{
    Beam beam;
    const std::string file = beam.dir.write("t", pattern(5000));
    beam.script.after_send = [&](std::size_t) { beam.connector.shutdown(); };
    EXPECT_FALSE(beam.connector.send_file(platform::from_utf8(file)));
    EXPECT_EQ(beam.script.sent.size(), 1u);

    beam.script.sent.clear();
    EXPECT_FALSE(beam.connector.discover_devices());
    EXPECT_FALSE(beam.connector.connect(0));
    EXPECT_FALSE(beam.connector.send_file(platform::from_utf8(file)));
    EXPECT_TRUE(beam.script.sent.empty());
}

TEST(ObexConnector, FailuresAreTracedWithTheSystemsReasonWhenItGaveOne)
{
    test::TempDir dir;
    test::EnvironmentOverride app_path("ORVANTA_APP_PATH", dir.path().c_str());
    os::ScopedRegistryFile registry(dir.file("registry"));
    constexpr std::u16string_view qiro = u"HKEY_CURRENT_USER\\Software\\Qiro";
    ASSERT_TRUE(os::registry_write_dword(qiro, u"Log", 1));

    FakeObexTransport::Script script;
    script.devices = { { 1, "x" } };
    script.enumerate_error = true;
    ObexConnector connector(factory(script));
    EXPECT_FALSE(connector.discover_devices());
    script.enumerate_error = false;
    script.failing_connects = 10;
    ASSERT_TRUE(connector.discover_devices());
    EXPECT_FALSE(connector.connect(0));
    ASSERT_TRUE(connector.discover_devices());
    script.peer = [](const Bytes&) { return Bytes { 0xC3, 0x00, 0x03 }; };
    EXPECT_FALSE(connector.connect(0));
    os::log().flush();
    ASSERT_TRUE(os::registry_write_dword(qiro, u"Log", 0));
    os::log();

    const std::string expected = "ObexConnector: can't look for devices (error 5: Input/output error)\n"
                                 "ObexConnector: can't connect to the device (error 111: Connection refused)\n"
                                 "ObexConnector: the device refused the connection\n";
    std::string text;
    const std::string bytes = test::read_file(
        dir.file(std::filesystem::read_symlink("/proc/self/exe").filename().string() + ".txt"));
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
        text += bytes[i];
    EXPECT_EQ(text, expected);
}
