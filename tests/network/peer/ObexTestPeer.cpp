// An OBEX receiver on the system's OBEX library, for the transfer tests.
//   obex_test_peer --out DIR [--mtu N] [--refuse] [--stall]
// Listens on 127.0.0.1 on a free port and prints the port on stdout. Each
// PUT is stored in DIR under its Name; DIR/log gets one line per event:
// "connect", "put NAME LENGTH", "body COUNT" per non-empty body chunk, "done NAME".
// --refuse answers PUT with Forbidden; --stall stops answering after the
// first body chunk.
#include <arpa/inet.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <netinet/in.h>
#include <openobex/obex.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>

namespace {

std::string out_dir;
int mtu = 2048;
bool refuse = false;
bool stall = false;
FILE* log_file = nullptr;
FILE* put_file = nullptr;
std::string put_name;
obex_t* client = nullptr;
bool client_done = false;

void log_line(const std::string& line)
{
    std::fprintf(log_file, "%s\n", line.c_str());
    std::fflush(log_file);
}

std::string utf16be_to_utf8(const std::uint8_t* p, std::uint32_t size)
{
    std::string text;
    for (std::uint32_t i = 0; i + 1 < size; i += 2) {
        const unsigned c = unsigned(p[i]) << 8 | p[i + 1];
        if (c == 0)
            break;
        if (c < 0x80) {
            text += char(c);
        } else if (c < 0x800) {
            text += char(0xC0 | c >> 6);
            text += char(0x80 | (c & 0x3F));
        } else {
            text += char(0xE0 | c >> 12);
            text += char(0x80 | (c >> 6 & 0x3F));
            text += char(0x80 | (c & 0x3F));
        }
    }
    return text;
}

void read_put_headers(obex_t* handle, obex_object_t* object)
{
    std::uint8_t id = 0;
    obex_headerdata_t value;
    std::uint32_t size = 0;
    std::uint32_t length = 0;
    while (OBEX_ObjectGetNextHeader(handle, object, &id, &value, &size)) {
        if (id == OBEX_HDR_NAME)
            put_name = utf16be_to_utf8(value.bs, size);
        else if (id == OBEX_HDR_LENGTH)
            length = value.bq4;
    }
    log_line("put " + put_name + " " + std::to_string(length));
    if (!put_name.empty() && put_name.find('/') == std::string::npos)
        put_file = std::fopen((out_dir + "/" + put_name).c_str(), "wb");
}

void on_client_event(obex_t* handle, obex_object_t* object, int, int event, int command, int)
{
    switch (event) {
    case OBEX_EV_REQHINT:
        if (command == OBEX_CMD_PUT && refuse) {
            OBEX_ObjectSetRsp(object, OBEX_RSP_FORBIDDEN, OBEX_RSP_FORBIDDEN);
            break;
        }
        if (command == OBEX_CMD_PUT)
            OBEX_ObjectReadStream(handle, object, nullptr);
        OBEX_ObjectSetRsp(object, OBEX_RSP_CONTINUE, OBEX_RSP_SUCCESS);
        break;
    case OBEX_EV_REQCHECK:
        if (command == OBEX_CMD_PUT)
            read_put_headers(handle, object);
        break;
    case OBEX_EV_STREAMAVAIL: {
        const std::uint8_t* data = nullptr;
        const int count = OBEX_ObjectReadStream(handle, object, &data);
        // The library ends every stream with an empty chunk of its own.
        if (count <= 0)
            break;
        log_line("body " + std::to_string(count));
        if (put_file)
            std::fwrite(data, 1, std::size_t(count), put_file);
        if (stall) {
            if (put_file)
                std::fflush(put_file);
            for (;;)
                pause();
        }
        break;
    }
    case OBEX_EV_REQ:
        if (command == OBEX_CMD_CONNECT)
            log_line("connect");
        if (command == OBEX_CMD_PUT) {
            if (put_file)
                std::fclose(put_file);
            put_file = nullptr;
            log_line("done " + put_name);
        }
        break;
    case OBEX_EV_REQDONE:
        if (command == OBEX_CMD_DISCONNECT)
            client_done = true;
        break;
    case OBEX_EV_LINKERR:
    case OBEX_EV_PARSEERR:
        client_done = true;
        break;
    default:
        break;
    }
}

void on_server_event(obex_t* handle, obex_object_t*, int, int event, int, int)
{
    if (event != OBEX_EV_ACCEPTHINT || client)
        return;
    client = OBEX_ServerAccept(handle, on_client_event, nullptr);
    if (client) {
        OBEX_SetTransportMTU(client, std::uint16_t(mtu), std::uint16_t(mtu));
        client_done = false;
    }
}

}

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--out" && i + 1 < argc)
            out_dir = argv[++i];
        else if (arg == "--mtu" && i + 1 < argc)
            mtu = std::atoi(argv[++i]);
        else if (arg == "--refuse")
            refuse = true;
        else if (arg == "--stall")
            stall = true;
    }
    if (out_dir.empty())
        return 2;
    log_file = std::fopen((out_dir + "/log").c_str(), "a");
    if (!log_file)
        return 2;

    obex_t* server = OBEX_Init(OBEX_TRANS_INET, on_server_event, OBEX_FL_KEEPSERVER);
    if (!server)
        return 1;
    // A free port, then the library's listener on it.
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const int probe = socket(AF_INET, SOCK_STREAM, 0);
    socklen_t length = sizeof address;
    if (probe < 0 || bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0
        || getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return 1;
    close(probe);
    if (TcpOBEX_ServerRegister(server, reinterpret_cast<sockaddr*>(&address), sizeof address) < 0)
        return 1;
    std::printf("%d\n", ntohs(address.sin_port));
    std::fflush(stdout);

    for (;;) {
        if (client) {
            // The library does not notice a peer that closes between requests.
            char byte;
            pollfd fd = { OBEX_GetFD(client), POLLIN, 0 };
            const bool closed
                = poll(&fd, 1, 1000) == 1 && recv(fd.fd, &byte, 1, MSG_PEEK | MSG_DONTWAIT) <= 0;
            if (closed || OBEX_HandleInput(client, 1) < 0 || client_done) {
                OBEX_Cleanup(client);
                client = nullptr;
            }
        } else if (OBEX_HandleInput(server, 1) < 0) {
            return 1;
        }
    }
}
