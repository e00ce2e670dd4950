#pragma once

#include "mp3enc/State.h"

#include <cstdint>

namespace mp3enc {

// Writes bits into an encoder's BitWriter, most significant first. The header and side
// information of each frame wait in the writer's ring until the stream reaches the slot where
// their frame begins, after the main data of earlier frames that the reservoir carried.
class BitStream {
public:
    // side_bytes: the header and side information length of every frame of the stream.
    BitStream(BitWriter& writer, int32_t side_bytes)
        : m_writer(writer)
        , m_side_bytes(side_bytes)
    {
    }

    static void reset(BitWriter& writer);

    void put_bits(uint32_t value, int32_t count);

    // Queues the header built at the fill index; the next frame's slot begins frame_bits later.
    void commit_header(int32_t frame_bits);

    // Headers queued but not yet in the stream.
    int32_t pending_headers() const;

    // Where the slot after the last queued frame begins.
    int32_t next_write_time() const { return m_writer.ring[m_writer.fill_index].write_time; }

    int32_t total_bits() const { return m_writer.total_bits; }

    // Keeps the bit counts far from overflow on endless streams.
    void rebase_if_needed();

private:
    // False when the buffer is full: the bits are dropped rather than written past it.
    bool start_byte();

    BitWriter& m_writer;
    int32_t m_side_bytes;
};

}
