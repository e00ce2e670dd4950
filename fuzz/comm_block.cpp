// A shared block as a hostile process of the user may leave it: any used
// length, any bytes. Every value is popped off it as the program pops
// requests and replies, and texts are parsed as requests; nothing may read
// or write outside the block, and what is accepted must be well formed.
#include "model/ipc/CCommMemoryMappedFilesClipboard.h"
#include "model/ipc/COrvantaStatus.h"
#include "model/ipc/CSerializableBool.h"
#include "model/ipc/CSerializableString.h"
#include "model/ipc/Comm.h"
#include "model/ipc/CommRequest.h"
#include "platform/core/SharedMemory.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

struct Channel {
    Channel()
    {
        std::string base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        dir = base + "/orvanta-fuzz-comm-XXXXXX";
        if (mkdtemp(dir.data()))
            setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
        clipboard = std::make_unique<CCommMemoryMappedFilesClipboard>(
            comm_block_capacity, std::u16string(comm_block_name));
        other = platform::SharedMemory::open(comm_block_name, comm_block_capacity);
        if (!clipboard->is_open() || !other)
            std::abort();
    }

    ~Channel()
    {
        clipboard.reset();
        other.reset();
        rmdir((dir + "/orvanta").c_str());
        rmdir(dir.c_str());
    }

    std::string dir;
    std::unique_ptr<CCommMemoryMappedFilesClipboard> clipboard;
    std::unique_ptr<platform::SharedMemory> other;
};

Channel& channel()
{
    static Channel c;
    return c;
}

constexpr CommField layouts[][3] = {
    { CommField::path, CommField::flag, CommField::flag },
    { CommField::path, CommField::number, CommField::flag },
    { CommField::number, CommField::flag, CommField::flag },
};

void check_request(const std::u16string& text)
{
    for (const auto& layout : layouts) {
        const auto request = CommRequest::parse(text, std::span(layout, 2));
        if (request && request->path.size() > 200)
            std::abort();
        CommRequest::parse(text, layout);
    }
}

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Channel& c = channel();
    std::memset(c.other->data(), 0, c.other->size());
    std::memcpy(c.other->data(), data, std::min(size, c.other->size()));
    CCommClipboard& stack = *c.clipboard;

    CSerializableString text;
    if (text.Read(stack)) {
        if (!text.get_text() || text.get_text()->size() > 511)
            std::abort();
        check_request(*text.get_text());
    }
    CSerializableBool flag;
    flag.Read(stack);
    COrvantaStatus status;
    if (status.Read(stack)
        && COrvantaStatus::from_bytes(status.to_bytes().data()).to_bytes() != status.to_bytes())
        std::abort();
    // Replies go on whatever is left.
    if (CSerializableBool(true).Write(stack)) {
        CSerializableBool back;
        if (!back.Read(stack) || !back.get_value())
            std::abort();
    }
    CSerializableString(u"reply").Write(stack);
    return 0;
}
