// Plays the fuzz input as a receiver's answers to a connect and a transfer:
// the first byte sets how many bytes each receive gets, the rest is the
// stream. Whatever comes back, no packet may outgrow what was agreed.
#include "network/ObexConnector.h"
#include "os/Registry.h"
#include "platform/core/Utf8.h"
#include "tests/network/support/FakeObexTransport.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

const std::string& file_to_send()
{
    static const std::string path = [] {
        const char* tmp = std::getenv("TMPDIR");
        static const std::filesystem::path folder = std::filesystem::path(tmp && *tmp ? tmp : "/tmp")
            / ("orvanta-fuzz-obex-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder);
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(folder, ignored);
        });
        // Traces read their switch from the registry: keep it out of the user's store.
        static os::ScopedRegistryFile registry(folder / "registry");
        const std::string file = folder / "sent.bin";
        if (FILE* f = std::fopen(file.c_str(), "wb")) {
            for (int i = 0; i < 3000; ++i)
                std::fputc(i & 0xFF, f);
            std::fclose(f);
        }
        return file;
    }();
    return path;
}

std::size_t be16(const std::vector<std::uint8_t>& p, std::size_t at)
{
    return std::size_t(p[at]) << 8 | p[at + 1];
}

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string& file = file_to_send();
    if (size == 0)
        return 0;
    test::FakeObexTransport::Script script;
    script.devices = { { 1, "peer" } };
    script.chunk_size = data[0] % 16 + 1;
    const std::vector<std::uint8_t> stream(data + 1, data + size);
    script.peer = [&](const std::vector<std::uint8_t>&) {
        return script.sent.size() == 1 ? stream : std::vector<std::uint8_t>();
    };
    network::ObexConnector connector([&] { return std::make_unique<test::FakeObexTransport>(script); });
    if (!connector.discover_devices() || !connector.connect(0))
        return 0;
    const std::size_t agreed = stream.size() >= 7 ? std::min<std::size_t>(be16(stream, 5), 2048) : 0;
    const bool sent = connector.send_file(platform::from_utf8(file));
    for (std::size_t i = 1; i < script.sent.size(); ++i) {
        const auto& packet = script.sent[i];
        if (packet.size() > agreed || be16(packet, 1) != packet.size())
            std::abort();
    }
    if (sent && connector.get_progress() != 1.0)
        std::abort();
    return 0;
}
