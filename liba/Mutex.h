#pragma once

#include <memory>

namespace platform {
class CriticalSection;
}

namespace liba {

// The program's lock: re-entrant for the thread that holds it.
class Mutex {
public:
    Mutex();
    // Leaves the section when the destroying thread still holds it.
    ~Mutex();
    Mutex(const Mutex&) = delete;
    Mutex& operator=(const Mutex&) = delete;

    void lock();
    void unlock();

private:
    std::unique_ptr<platform::CriticalSection> m_section;
};

}
