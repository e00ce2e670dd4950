#include "model/ipc/CWindowCommModule.h"

#include "liba/Path.h"
#include "model/ipc/Comm.h"
#include "os/Registry.h"
#include "platform/core/Launcher.h"
#include "platform/core/RemoteWindow.h"
#include "platform/core/Window.h"

namespace {

// The longest folder name the program's key may give.
constexpr std::size_t max_folder_units = 259;

platform::LResult procedure(
    platform::Window window, platform::MessageId message, platform::WParam wparam, platform::LParam lparam)
{
    if (message == platform::msg::user_command)
        return comm_invoke(static_cast<std::int64_t>(wparam));
    return platform::default_window_procedure(window, message, wparam, lparam);
}

}

CWindowCommModule::CWindowCommModule(std::u16string name, std::u16string application_name,
    std::u16string program_file, bool start_visible, Role role)
    : CCommModule(std::move(name), std::move(application_name), std::move(program_file), start_visible)
{
    if (role != Role::server)
        return;
    platform::register_window_class({ get_name(), procedure, true });
    platform::WindowParams params;
    params.class_name = get_name();
    params.style = platform::ws::disabled; // never shown, never takes input
    params.x = 0;
    params.width = 0;
    m_window = platform::create_window(params);
}

CWindowCommModule::~CWindowCommModule()
{
    if (m_window != platform::no_window)
        platform::destroy_window(m_window);
}

bool CWindowCommModule::send_once(std::int32_t command_id) const
{
    // Windows of this process are not asked: the platform finds only other processes'.
    const platform::RemoteReply reply
        = platform::send_to_other_process(get_name(), platform::msg::user_command,
            static_cast<platform::WParam>(static_cast<std::int64_t>(command_id)), nullptr, send_timeout_ms);
    return reply.status == platform::RemoteStatus::delivered && reply.result != 0;
}

void CWindowCommModule::start_server() const
{
    if (get_application_name().empty() || get_program_file().empty())
        return;
    std::u16string folder;
    if (!os::registry_read_string(
            u"HKEY_LOCAL_MACHINE\\Software\\Apps\\" + get_application_name(), u"InstlDir", folder)
        || folder.empty() || folder.size() > max_folder_units)
        return;
    std::vector<std::u16string> argv { liba::join_path(folder, get_program_file()) };
    if (!get_start_visible())
        argv.push_back(u"-hide");
    if (platform::launch(argv))
        platform::wait_for_other_process_window(get_name(), start_timeout_ms);
}

std::int32_t CWindowCommModule::Send(std::int32_t command_id)
{
    if (send_once(command_id))
        return 1;
    start_server();
    return send_once(command_id) ? 1 : 0;
}
