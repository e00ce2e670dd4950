#pragma once

#include "audio/Consumer.h"
#include "audio/PCMData.h"
#include "audio/Provider.h"
#include "liba/Event.h"
#include "liba/Thread.h"

#include <cstdint>
#include <deque>

namespace audio {

// The record path's shock absorber: chunks pushed by the recorder's device
// thread are queued in memory and a worker of its own pushes them on into
// the encoder and the writer, which may be slow. When the queue grows too
// long or memory runs short it stops buffering and drops what follows,
// until reset.
class ActiveBuffer : public Consumer<PCMData>, public Provider<PCMData>, public liba::Thread {
public:
    static constexpr int32_t max_queued_bytes = 10000000;
    static constexpr uint64_t min_available_memory = 1000000;

    ActiveBuffer();
    // Completes the chunk being delivered and drops the rest.
    ~ActiveBuffer() override;

    void on_data(const PCMData&) override;
    // Only ever pushed through.
    PCMData get_data(std::int32_t size) override;

    bool is_buffering();
    // Chunks and bytes not yet delivered; a chunk counts until its push has returned.
    int get_queued_bytes();
    int get_queued_chunks();
    // Buffering on again, queue emptied; meant for a drained queue.
    void reset();

protected:
    void run() override;

private:
    std::deque<PCMData> m_queue;
    bool m_buffering = true;
    // 64-bit inside, so that no chunk size can make the sum wrap.
    int64_t m_queued_bytes = 0;
    // The chunk the worker is pushing, if any.
    bool m_delivering = false;
    int64_t m_delivering_bytes = 0;
    // Set whenever there is work; reset by the worker only while it holds the
    // lock and sees none, so no chunk and no stop can slip past its wait.
    liba::Event m_wake;
};

}
