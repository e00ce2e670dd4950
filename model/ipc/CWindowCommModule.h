#pragma once

#include "model/ipc/CCommModule.h"
#include "platform/core/Message.h"

#include <cstdint>

// The channel over a window of the module's class. The server's module owns
// that window: other processes of the user find it by its class and send it
// the command message (1025) with the command id, which runs the delegate
// registered under the id (register_command). A client's module has no
// window, since a window of the class makes its process the one that answers.
class CWindowCommModule : public CCommModule {
public:
    enum class Role { server, client };

    // The server's window is made on the calling thread, whose message loop
    // then runs the commands; the server's destructor destroys it there.
    CWindowCommModule(std::u16string name, std::u16string application_name, std::u16string program_file,
        bool start_visible, Role role);
    ~CWindowCommModule() override;

    // From a client: sends the command to another process's window of the
    // class. When none answers nonzero, starts the program (the file in the
    // folder of the string value "InstlDir" under HKEY_LOCAL_MACHINE
    // "Software\Apps\" and the application name), with "-hide" unless
    // start_visible, waits up to 5 s for its window and sends once more.
    // The request is pushed before and the reply popped after.
    std::int32_t Send(std::int32_t command_id) override;

    platform::Window get_window() const { return m_window; }

    // How long a send waits for the server to handle the command.
    static constexpr std::uint32_t send_timeout_ms = 10000;
    // How long a started server has to bring up its window.
    static constexpr std::uint32_t start_timeout_ms = 5000;

private:
    bool send_once(std::int32_t command_id) const;
    void start_server() const;

    platform::Window m_window {};
};
