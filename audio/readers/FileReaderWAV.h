#pragma once

#include "audio/readers/FileReader.h"
#include "liba/Mutex.h"
#include "os/File.h"

#include <string>

namespace audio {

class WAVInfo;

// What the three WAV readers share: the file, whether its header was
// accepted, and a re-entrant lock that the player's thread (pulling) and the
// GUI thread (asking and seeking) take in turn.
class FileReaderWAV : public FileReader {
public:
    explicit FileReaderWAV(const std::u16string& path);

    virtual const WAVInfo& get_wav_info() const = 0;

    bool is_open() override;
    bool is_end() override;
    int get_channels() override;
    int get_sample_rate() override;
    int get_bitrate() override;

protected:
    // Reads the header into info; the file then stands at the first data byte.
    void open_with(WAVInfo& info);

    // Bytes of audio data that the file really holds: the "data" chunk, or
    // everything after its header when its size does not hold.
    std::int64_t data_bytes_present() const { return m_data_present; }

    // Whether the "data" size was taken as it stands.
    bool data_size_holds() const { return m_data_size_holds; }

    os::File m_file;
    bool m_open = false;
    liba::Mutex m_lock;

private:
    std::int64_t m_data_present = 0;
    bool m_data_size_holds = false;
};

}
