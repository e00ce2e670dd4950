#pragma once

#include "model/ipc/CCommModule.h"
#include "model/ipc/CCommandDelegate.h"

#include <cstdint>
#include <memory>
#include <string_view>

// The program's end of the Today item's channel: a block of shared memory
// that both sides use as one byte stack (CCommClipboard), and a hidden window
// that runs numbered commands (CWindowCommModule). All of it is for the GUI
// thread, and it lives until the process ends.

// The commands' ids, as the Today item sends them.
enum class CommCommand : std::int32_t {
    play_file = 0,
    record = 1,
    record_overwrite = 2,
    record_append = 3,
    record_insert = 4,
    pause = 5,
    stop = 6,
    get_status = 7,
    play_offset = 8,
};

inline constexpr std::u16string_view comm_block_name = u"6BB6FB49-A344-4ab3-A510-C8B2FEFB1E20";
inline constexpr std::uint32_t comm_block_capacity = 1024 + 4;
inline constexpr std::u16string_view comm_window_class = u"84FC44F5-FCD6-4847-8E8E-8B9576D2F96D";
inline constexpr std::u16string_view comm_application_name = u"Qiro Orvanta";
inline constexpr std::u16string_view comm_program_file = u"orvanta";

// Makes the shared block the process-wide stack and registers the server's
// module with its window, on the calling (GUI) thread.
void comm_init();

// Stores the delegate under the id, in place of an earlier one (which is not
// deleted: its owner keeps it). The delegate must stay until it is replaced;
// null drops the id.
void register_command(std::int32_t id, CCommandDelegate* delegate);

inline void register_command(CommCommand id, CCommandDelegate* delegate)
{
    register_command(static_cast<std::int32_t>(id), delegate);
}

// The result of the delegate under the id; 0 when there is none.
std::int32_t comm_invoke(std::int64_t id);

// Keeps the module, deleting an earlier one of the same name first.
void comm_register_module(std::unique_ptr<CCommModule> module);
// Null when none has the name.
CCommModule* comm_find_module(std::u16string_view name);
