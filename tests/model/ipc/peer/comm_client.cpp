// What the Today item does for one command, for the end-to-end tests:
//   comm_client <command> [request]
// <command> is a name (play_file, record, record_overwrite, record_append,
// record_insert, pause, stop, status, play_offset) or a number. The request is
// the text of the command; for status, "y" asks for the window. Clears the
// shared stack, pushes the request, sends the command (starting the program
// when no window answers) and pops the reply. Prints
//   result <send's result> reply <1, 0 or none>
// and for status, when a reply came,
//   state=.. path=.. length=.. position=.. format=.. rate=.. bits=.. kbps=.. stereo=.. ms=..
#include "model/ipc/CCommMemoryMappedFilesClipboard.h"
#include "model/ipc/COrvantaStatus.h"
#include "model/ipc/CSerializableBool.h"
#include "model/ipc/CSerializableString.h"
#include "model/ipc/CWindowCommModule.h"
#include "model/ipc/Comm.h"
#include "platform/core/Utf8.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

struct Named {
    std::string_view name;
    CommCommand id;
};

constexpr Named commands[] = {
    { "play_file", CommCommand::play_file },
    { "record", CommCommand::record },
    { "record_overwrite", CommCommand::record_overwrite },
    { "record_append", CommCommand::record_append },
    { "record_insert", CommCommand::record_insert },
    { "pause", CommCommand::pause },
    { "stop", CommCommand::stop },
    { "status", CommCommand::get_status },
    { "play_offset", CommCommand::play_offset },
};

bool command_id(std::string_view name, std::int32_t& id)
{
    for (const auto& command : commands) {
        if (command.name == name) {
            id = static_cast<std::int32_t>(command.id);
            return true;
        }
    }
    const std::string digits(name);
    char* end = nullptr;
    id = static_cast<std::int32_t>(std::strtol(digits.c_str(), &end, 10));
    return !digits.empty() && *end == '\0';
}

void print_status(const COrvantaStatus& s)
{
    std::printf("state=%d path=%s length=%d position=%d format=%d rate=%d bits=%d kbps=%d stereo=%d ms=%d\n",
        s.state, platform::to_utf8(s.get_path()).c_str(), s.length, s.position, s.format, s.sample_rate,
        s.bits_per_sample, s.bitrate_kbps, s.stereo, s.position_ms);
}

}

int main(int argc, char** argv)
{
    std::int32_t id;
    if (argc < 2 || argc > 3 || !command_id(argv[1], id)) {
        std::fprintf(stderr, "usage: comm_client <command> [request]\n");
        return 2;
    }
    const std::string request = argc == 3 ? argv[2] : "";
    CCommMemoryMappedFilesClipboard clipboard(comm_block_capacity, std::u16string(comm_block_name));
    if (!clipboard.is_open()) {
        std::printf("no shared block\n");
        return 1;
    }
    clipboard.Clear();
    const bool status = id == static_cast<std::int32_t>(CommCommand::get_status);
    const bool pushed = status ? CSerializableBool(request == "y").Write(clipboard)
                               : CSerializableString(platform::from_utf8(request)).Write(clipboard);
    if (!pushed) {
        std::printf("request too long\n");
        return 1;
    }
    CWindowCommModule module(std::u16string(comm_window_class), std::u16string(comm_application_name),
        std::u16string(comm_program_file), false, CWindowCommModule::Role::client);
    const std::int32_t result = module.Send(id);
    // Only a command that ran has a reply on the stack.
    CSerializableBool reply;
    const bool replied = result == 1 && reply.Read(clipboard);
    std::printf("result %d reply %s\n", result, replied ? (reply.get_value() ? "1" : "0") : "none");
    COrvantaStatus record;
    if (status && replied && record.Read(clipboard))
        print_status(record);
    std::fflush(stdout);
    return 0;
}
