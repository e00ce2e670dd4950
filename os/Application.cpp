#include "os/Application.h"

#include "os/Log.h"
#include "platform/core/Clock.h"
#include "platform/core/RemoteWindow.h"
#include "platform/core/Cursor.h"

#include <cstring>

namespace os {

namespace {

Application* the_application = nullptr;

// The single-instance search reads class names of at most this many characters.
constexpr std::size_t max_class_name = 38;
// How long a running copy may take to handle the command line.
constexpr std::uint32_t handover_timeout_ms = 10000;

void trace(int step)
{
    log() << platform::tick_count() << " Application::~Application " << step << "\n";
}

}

Application::Application(std::u16string_view name)
    : m_class_name(u"SkinnerClass_" + std::u16string(name))
{
    if (m_class_name.size() > max_class_name)
        fatal_error(u"Application::Application", u"Application name is too long. Sorry.");
    if (the_application)
        fatal_error(u"Application::Application", u"instance != 0");
    the_application = this;
    m_scheduler = new CActiveScheduler;
}

Application::~Application()
{
    trace(1);
    delete m_scheduler;
    trace(2);
    release_instance_lock();
    trace(3);
    trace(4);
    the_application = nullptr;
}

Application* Application::instance()
{
    return the_application;
}

bool Application::activate_previous_instance(std::u16string_view command_line)
{
    if (!m_instance_mutex) {
        m_instance_mutex = platform::NamedMutex::open(m_class_name);
        if (!m_instance_mutex || !m_instance_mutex->lock()) {
            m_instance_mutex.reset();
            return false; // no single-instance check; start normally
        }
    }
    m_command_line = command_line;
    m_found = false;
    platform::CopyData data { 0, static_cast<std::uint32_t>(m_command_line.size() * 2),
        m_command_line.data() };
    platform::RemoteReply reply = platform::send_to_other_process(
        m_class_name, platform::msg::copy_data, 0, &data, handover_timeout_ms);
    // A copy too busy to answer in time is still a copy: starting another would make two.
    m_found = reply.status == platform::RemoteStatus::delivered
        || reply.status == platform::RemoteStatus::unanswered;
    // until the lock goes: the main form is still to come
    platform::set_cursor(platform::CursorShape::wait);
    return m_found;
}

void Application::release_instance_lock()
{
    if (platform::current_cursor() == platform::CursorShape::wait)
        platform::set_cursor(platform::CursorShape::arrow);
    if (m_instance_mutex)
        m_instance_mutex->unlock();
    m_instance_mutex.reset();
}

std::u16string Application::command_line_from(const platform::CopyData& data)
{
    std::u16string text(data.size / 2, u'\0');
    if (data.bytes && !text.empty())
        std::memcpy(text.data(), data.bytes, text.size() * 2);
    if (!text.empty() && text.back() == u'\0')
        text.pop_back();
    return text;
}

}
