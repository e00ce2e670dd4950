#include "audio/devices/RecorderPCM.h"

#include "audio/devices/RecorderPCMImpl.h"
#include "os/Log.h"

namespace audio {

RecorderPCM::RecorderPCM(int channels, int sample_rate, int bits_per_sample)
    : m_impl(new RecorderPCMImpl(channels, sample_rate, bits_per_sample, *this))
{
}

RecorderPCM::~RecorderPCM()
{
    delete m_impl;
}

PCMData RecorderPCM::get_data(std::int32_t)
{
    os::fatal_error(u"RecorderPCM::get_data", u"get_data unexpected - recorder is active object");
}

bool RecorderPCM::start()
{
    return m_impl->start();
}
bool RecorderPCM::stop()
{
    return m_impl->stop();
}
bool RecorderPCM::is_stopped()
{
    return m_impl->is_stopped();
}
bool RecorderPCM::is_recording()
{
    return m_impl->is_recording();
}
int RecorderPCM::get_channels()
{
    return m_impl->get_channels();
}
int RecorderPCM::get_bits_per_sample()
{
    return m_impl->get_bits_per_sample();
}
int RecorderPCM::get_sample_rate()
{
    return m_impl->get_sample_rate();
}
int RecorderPCM::get_bitrate()
{
    return m_impl->get_bitrate();
}

}
