#include "model/ipc/Comm.h"

#include "model/ipc/CCommMemoryMappedFilesClipboard.h"
#include "model/ipc/CWindowCommModule.h"

#include <limits>
#include <map>
#include <vector>

namespace {

std::map<std::int32_t, CCommandDelegate*>& commands()
{
    static std::map<std::int32_t, CCommandDelegate*> map;
    return map;
}

std::vector<std::unique_ptr<CCommModule>>& modules()
{
    static std::vector<std::unique_ptr<CCommModule>> list;
    return list;
}

}

void comm_init()
{
    CCommClipboard::SetInstance(std::make_unique<CCommMemoryMappedFilesClipboard>(
        comm_block_capacity, std::u16string(comm_block_name)));
    comm_register_module(std::make_unique<CWindowCommModule>(std::u16string(comm_window_class),
        std::u16string(comm_application_name), std::u16string(comm_program_file), false,
        CWindowCommModule::Role::server));
}

void register_command(std::int32_t id, CCommandDelegate* delegate)
{
    if (delegate)
        commands()[id] = delegate;
    else
        commands().erase(id);
}

std::int32_t comm_invoke(std::int64_t id)
{
    if (id < std::numeric_limits<std::int32_t>::min() || id > std::numeric_limits<std::int32_t>::max())
        return 0;
    auto found = commands().find(static_cast<std::int32_t>(id));
    return found == commands().end() ? 0 : found->second->Invoke();
}

void comm_register_module(std::unique_ptr<CCommModule> module)
{
    auto& list = modules();
    std::erase_if(list, [&](const auto& kept) { return kept->get_name() == module->get_name(); });
    list.push_back(std::move(module));
}

CCommModule* comm_find_module(std::u16string_view name)
{
    for (const auto& module : modules()) {
        if (module->get_name() == name)
            return module.get();
    }
    return nullptr;
}
