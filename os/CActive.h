#pragma once

#include <atomic>

// An operation that completes later and is finished on the GUI thread: the owner marks
// it active when the operation starts; its completion (notify, from any thread) makes
// the program's scheduler call run() from the message loop.
class CActive {
public:
    CActive() = default;
    // Owners cancel first: destroying an active object is fatal.
    virtual ~CActive();
    CActive(const CActive&) = delete;
    CActive& operator=(const CActive&) = delete;

    // Called on the GUI thread once the operation has completed.
    virtual void run() = 0;
    // Called by cancel while active: stop the operation and make its completion happen,
    // so the scheduler can consume it.
    virtual void DoCancel() = 0;

    bool is_active() const { return m_active.load(); }

    void set_active();
    void notify();
    void cancel();

private:
    friend class CActiveScheduler;
    // Written on the GUI thread only; read by notify on any thread.
    std::atomic<bool> m_active { false };
};
