// Transfers over TCP to the OBEX library's receiver.
#include "tests/network/support/ObexPeer.h"

#include "network/ObexConnector.h"
#include "os/Registry.h"
#include "platform/core/Utf8.h"
#include "tests/support/Tool.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

using network::ObexConnector;

namespace {

std::string pattern(std::size_t size)
{
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = char(i * 13 + i / 509);
    return bytes;
}

void connect_to_the_peer(ObexConnector& connector)
{
    ASSERT_TRUE(connector.discover_devices());
    ASSERT_EQ(connector.get_devices().size(), 1u);
    ASSERT_TRUE(connector.connect(0));
}

std::vector<std::string> body_lines(const std::vector<std::string>& log)
{
    std::vector<std::string> lines;
    for (const auto& line : log) {
        if (line.starts_with("body "))
            lines.push_back(line);
    }
    return lines;
}

// A listening socket on 127.0.0.1 and its port.
int listen_on_loopback(int& port)
{
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(fd, 4) != 0
        || getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return -1;
    port = ntohs(address.sin_port);
    return fd;
}

bool read_exactly(int fd, std::uint8_t* p, std::size_t count)
{
    while (count > 0) {
        const ssize_t n = read(fd, p, count);
        if (n <= 0)
            return false;
        p += n;
        count -= std::size_t(n);
    }
    return true;
}

}

TEST(ObexPeer, FilesArriveWholeInPacketsOfTheAgreedSize)
{
    const std::string data = pattern(5000);
    std::vector<std::string> of_512(10, "body 486");
    of_512.push_back("body 140");
    const std::vector<std::string> of_2048 = { "body 2022", "body 2022", "body 956" };
    const std::pair<int, std::vector<std::string>> cases[] = {
        { 2048, of_2048 },
        { 4096, of_2048 }, // the connector never sends more than 2048
        { 512, of_512 },
    };
    for (const auto& [mtu, bodies] : cases) {
        SCOPED_TRACE(mtu);
        test::ObexPeer peer({ "--mtu", std::to_string(mtu) });
        ASSERT_TRUE(peer.running());
        test::TempDir dir;
        ObexConnector connector;
        connect_to_the_peer(connector);
        ASSERT_TRUE(connector.send_file(platform::from_utf8(dir.write("a.txt", data))));
        EXPECT_EQ(connector.get_progress(), 1.0);
        EXPECT_EQ(peer.received("a.txt"), data);
        const auto log = peer.log();
        EXPECT_EQ(log.front(), "connect");
        EXPECT_EQ(log.at(1), "put a.txt 5000");
        EXPECT_EQ(body_lines(log), bodies);
        EXPECT_EQ(log.back(), "done a.txt");
    }
}

TEST(ObexPeer, EmptyFileArrivesEmpty)
{
    test::ObexPeer peer;
    ASSERT_TRUE(peer.running());
    test::TempDir dir;
    ObexConnector connector;
    connect_to_the_peer(connector);
    ASSERT_TRUE(connector.send_file(platform::from_utf8(dir.write("empty.txt", ""))));
    EXPECT_EQ(peer.log(), (std::vector<std::string> { "connect", "put empty.txt 0", "done empty.txt" }));
    EXPECT_EQ(peer.received("empty.txt"), "");
}

TEST(ObexPeer, RefusalIsAFailure)
{
    test::ObexPeer peer({ "--refuse" });
    ASSERT_TRUE(peer.running());
    test::TempDir dir;
    ObexConnector connector;
    connect_to_the_peer(connector);
    EXPECT_FALSE(connector.send_file(platform::from_utf8(dir.write("a.txt", pattern(5000)))));
    EXPECT_FALSE(connector.succeeded());
}

TEST(ObexPeer, StockClientAgreesWithThePeer)
{
    if (!test::have_tool("obexftp"))
        GTEST_SKIP() << "obexftp is not installed";
    test::ObexPeer peer;
    ASSERT_TRUE(peer.running());
    test::TempDir dir;
    const std::string data = pattern(5000);
    const auto result = test::run_tool(
        { "obexftp", "-n", "127.0.0.1:" + std::to_string(peer.port()), "-p", dir.write("stock.bin", data) });
    // obexftp ends with status 255 even after a good transfer; the file tells.
    EXPECT_NE(result.exit_code, -1);
    EXPECT_EQ(peer.received("stock.bin"), data);
    EXPECT_EQ(peer.log().back(), "done stock.bin");
}

TEST(ObexPeer, DiscoveryOffersTheListedPeersThatAccept)
{
    test::ObexPeer peer;
    ASSERT_TRUE(peer.running());
    int closed_port = 0;
    close(listen_on_loopback(closed_port));
    const std::string live = "127.0.0.1:" + std::to_string(peer.port());
    test::set_obex_peers(
        "127.0.0.1:" + std::to_string(closed_port) + "; nohost:99999 ,\t[::1 " + live + " :5");
    ObexConnector connector;
    ASSERT_TRUE(connector.discover_devices());
    ASSERT_EQ(connector.get_devices().size(), 1u);
    EXPECT_EQ(connector.get_devices()[0].name, platform::from_utf8(live));
    EXPECT_EQ(connector.get_devices()[0].service, peer.port());
    EXPECT_TRUE(connector.connect(0));
}

TEST(ObexPeer, NoPeersListedMeansNoDevices)
{
    test::TempDir config;
    os::ScopedRegistryFile registry(config.file("registry"));
    ObexConnector connector;
    EXPECT_TRUE(connector.discover_devices()); // after ten empty answers
    EXPECT_TRUE(connector.get_devices().empty());
    EXPECT_EQ(connector.get_progress(), 1.0);
    EXPECT_FALSE(connector.connect(0));
}

TEST(ObexPeer, RepliesSplitAcrossSegmentsAreReadWhole)
{
    int port = 0;
    const int listener = listen_on_loopback(port);
    ASSERT_GE(listener, 0);
    test::TempDir config;
    os::ScopedRegistryFile registry(config.file("registry"));
    test::set_obex_peers("127.0.0.1:" + std::to_string(port));

    // Accepts the discovery probe, then answers each request one byte per
    // segment, and gathers the body bytes.
    std::string received;
    std::thread peer([&] {
        close(accept(listener, nullptr, nullptr));
        const int fd = accept(listener, nullptr, nullptr);
        const int one = 1;
        setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        for (;;) {
            std::vector<std::uint8_t> request(3);
            if (!read_exactly(fd, request.data(), 3))
                break;
            request.resize(std::size_t(request[1]) << 8 | request[2]);
            if (!read_exactly(fd, request.data() + 3, request.size() - 3))
                break;
            std::vector<std::uint8_t> reply = { 0x90, 0x00, 0x03 };
            if (request[0] == 0x80)
                reply = { 0xA0, 0x00, 0x07, 0x10, 0x00, 0x04, 0x00 };
            else if (request[0] == 0x82)
                reply[0] = 0xA0;
            if (request[0] != 0x80)
                received.append(request.begin() + 16 + 2 * 5, request.end());
            for (std::uint8_t byte : reply) {
                if (write(fd, &byte, 1) != 1)
                    break;
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
        }
        close(fd);
    });

    test::TempDir dir;
    const std::string data = pattern(3000);
    {
        ObexConnector connector;
        connect_to_the_peer(connector);
        EXPECT_TRUE(connector.send_file(platform::from_utf8(dir.write("split", data))));
    }
    peer.join();
    close(listener);
    EXPECT_EQ(received, data);
}
