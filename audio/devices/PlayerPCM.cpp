#include "audio/devices/PlayerPCM.h"

#include "audio/devices/PlayerPCMImpl.h"
#include "os/Log.h"

namespace audio {

PlayerPCM::PlayerPCM()
    : m_impl(new PlayerPCMImpl(*this))
{
}

PlayerPCM::~PlayerPCM()
{
    delete m_impl;
}

void PlayerPCM::on_data(const PCMData&)
{
    os::fatal_error(u"PlayerPCM::on_data", u"on_data unexpected - player is active object");
}

bool PlayerPCM::play()
{
    return m_impl->play();
}
bool PlayerPCM::stop()
{
    return m_impl->stop();
}
bool PlayerPCM::pause()
{
    return m_impl->pause();
}
bool PlayerPCM::is_paused()
{
    return m_impl->is_paused();
}
void PlayerPCM::set_volume(double volume)
{
    m_impl->set_volume(volume);
}
double PlayerPCM::get_volume()
{
    return m_impl->get_volume();
}
bool PlayerPCM::has_failed()
{
    return m_impl->has_failed();
}
bool PlayerPCM::is_idle()
{
    return m_impl->is_idle();
}
void PlayerPCM::set_position_probe(PositionProbe probe)
{
    m_impl->set_position_probe(std::move(probe));
}
void PlayerPCM::flush()
{
    m_impl->flush();
}
void PlayerPCM::restart_positions()
{
    m_impl->restart_positions();
}
double PlayerPCM::get_heard_position()
{
    return m_impl->get_heard_position();
}

}
