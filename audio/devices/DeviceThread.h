#pragma once

#include "liba/Event.h"
#include "liba/Thread.h"
#include "platform/core/Message.h"
#include "platform/media/Wave.h"

namespace audio {

// The thread a waveform device reports to. Its queue exists before anyone
// can post to it; it then hands every message to handle() until a stop is
// requested or the quit message comes, and calls finish() on its way out.
class DeviceThread : public liba::Thread {
public:
    // Starts the thread and waits until its queue exists; false when no
    // thread could be started, and every post then fails.
    bool start_queue();
    // Posts a message to the thread; false when it has no queue.
    bool post(platform::MessageId message);
    // How a device opened for this thread reports to it.
    platform::WavePost device_post() const;

protected:
    void run() final;
    virtual void handle(const platform::Message& message) = 0;
    virtual void finish() { }

private:
    liba::Event m_ready;
    // The thread as the message layer knows it; set before m_ready.
    platform::ThreadId m_thread = 0;
};

}
