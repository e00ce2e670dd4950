#pragma once

#include "audio/readers/DecodingReader.h"
#include "audio/filters/OutputBuffer.h"
#include "liba/Mutex.h"
#include "liba/Nocopy.h"
#include "os/File.h"

#include <mpc/mpcdec.h>
#include <string>
#include <vector>

namespace audio {

// Musepack through libmpcdec, reading through our own file. The library
// reads stream versions 7 and 8; older streams leave the reader not open.
// Positions count sample frames; one decoded pass (1152 frames) is handed
// out in slices that share its buffer.
class DecoderMPC : public DecodingReader, private liba::Nocopy {
public:
    explicit DecoderMPC(const std::u16string& path);
    ~DecoderMPC() override;

    PCMData get_data(std::int32_t frames) override;

    bool is_open() override;
    bool is_end() override;
    int get_channels() override;
    int get_sample_rate() override;
    int get_bitrate() override;
    std::int64_t get_length_bytes() override;
    std::int64_t get_position_bytes() override;
    void seek_bytes(std::int64_t frames) override;

private:
    // One library pass into m_pending; false when nothing came.
    bool decode_pass();

    os::File m_file;
    mpc_demux* m_demux = nullptr;
    mpc_reader m_reader {};
    mpc_streaminfo m_info {};
    // Frames decoded so far: runs ahead of what was handed out by m_pending.
    std::int64_t m_position = 0;
    std::int64_t m_length = 0;
    std::int64_t m_file_bits = 0;
    // The library reported the end of the stream.
    bool m_ended = false;
    liba::Mutex m_lock;
    PCMData m_pending;
    std::vector<MPC_SAMPLE_FORMAT> m_work;
    OutputBuffer m_output;
};

}
