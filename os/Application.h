#pragma once

#include "os/CActiveScheduler.h"
#include "platform/core/Message.h"
#include "platform/core/NamedMutex.h"

#include <memory>
#include <string>
#include <string_view>

namespace os {

// The running program: its window class name, its scheduler and the single-instance
// rule. Made first and destroyed last; there is one at a time.
class Application {
public:
    explicit Application(std::u16string_view name);
    virtual ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    static Application* instance();

    CActiveScheduler& get_scheduler() { return *m_scheduler; }

    // "SkinnerClass_" and the name: the class of the program's top-level windows.
    const std::u16string& window_class_name() const { return m_class_name; }

    // Takes the single-instance lock (waiting while another copy starts up) and hands the
    // command line to a running copy's top-level window. True once that copy has handled
    // it, or was found but did not answer in time; this copy then ends. The lock stays held until release_instance_lock.
    bool activate_previous_instance(std::u16string_view command_line);
    void release_instance_lock();

    // The command line in a copy-data message of activate_previous_instance. A sender
    // that counted the terminating zero does not leave it in the text.
    static std::u16string command_line_from(const platform::CopyData&);

private:
    std::u16string m_class_name;
    std::unique_ptr<platform::NamedMutex> m_instance_mutex;
    CActiveScheduler* m_scheduler = nullptr;
    bool m_found = false;
    std::u16string m_command_line;
};

}
