#pragma once

#include <memory>

namespace platform {
class Event;
}

namespace liba {

// A manual-reset event, created non-signalled.
class Event {
public:
    Event();
    ~Event();
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;

    void wait();
    void set();
    void reset();

private:
    std::unique_ptr<platform::Event> m_event;
};

}
