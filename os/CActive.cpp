#include "os/CActive.h"

#include "os/Application.h"
#include "os/CActiveScheduler.h"
#include "os/Log.h"

CActiveScheduler& program_scheduler()
{
    os::Application* application = os::Application::instance();
    if (!application)
        os::fatal_error(u"CActiveScheduler", u"No application object");
    return application->get_scheduler();
}

CActive::~CActive()
{
    if (m_active.load())
        os::fatal_error(u"CActive::~CActive()", u"Active object is already active");
}

void CActive::set_active()
{
    program_scheduler().set_active(*this);
}

void CActive::notify()
{
    program_scheduler().notify(*this);
}

void CActive::cancel()
{
    if (m_active.load())
        program_scheduler().cancel(*this);
}
