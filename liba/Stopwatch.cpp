#include "liba/Stopwatch.h"

#include "platform/core/Clock.h"

namespace liba {

namespace {

const Stopwatch g_program_stopwatch;

}

Stopwatch::Stopwatch()
    : m_start(platform::tick_count())
{
}

std::uint32_t Stopwatch::restart()
{
    m_start = platform::tick_count();
    return m_start;
}

double Stopwatch::elapsed() const
{
    const std::uint32_t ticks = platform::tick_count() - m_start;
    return ticks * 0.001;
}

double program_time() { return g_program_stopwatch.elapsed(); }

}
