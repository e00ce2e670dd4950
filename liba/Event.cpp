#include "liba/Event.h"

#include "platform/core/Event.h"

namespace liba {

Event::Event()
    : m_event(std::make_unique<platform::Event>())
{
}

Event::~Event() = default;

void Event::wait() { m_event->wait(); }

void Event::set() { m_event->set(); }

void Event::reset() { m_event->reset(); }

}
