#pragma once

#include "audio/Processor.h"
#include "audio/writers/FileWriter.h"

#include <memory>
#include <string>

namespace audio {

// A pass-through node that stores the chunks it sees in a WAV file. A new
// file is created when the first usable chunk arrives; appending continues
// an existing file of the same coding. Only whole units (sample frames or
// blocks) are counted, so after a failed write the header still describes
// a playable file. The header's sizes follow the audio every half second, so
// a file whose writer never closes it (a killed process) plays to within
// that much of its end.
template<typename Info, typename Data>
class FileWriterWAV : public Processor<Data, Data>, public FileWriter {
public:
    // Writes the final sizes into the header and closes the file.
    ~FileWriterWAV() override;

    Data process(const Data& chunk) override;
    bool is_ok() override;
    std::int64_t get_data_size() override;

protected:
    // The format of a new file; appending takes the file's own.
    FileWriterWAV(const std::u16string& path, bool append, const Info& new_format, Opener opener);

    // Takes the file's format from the first chunk; false when it cannot.
    virtual bool set_format(const Data& chunk) = 0;
    // Whether a chunk matches the file; others are skipped.
    virtual bool accepts(const Data& chunk) const = 0;

    // Units as get_data_size counts them, for a count of whole units.
    virtual std::int64_t units_to_size(std::int64_t units) const { return units; }

    Info m_format;

private:
    bool open_for_append();
    bool write_chunk(const Data& chunk);
    void close();
    // Writes the sizes into the header where they stand: a file being
    // appended to may have chunks the fresh layout lacks.
    bool patch_sizes();
    // Patches the sizes once half a second of units went undeclared, or now;
    // the file stands at the end of the audio again after.
    bool update_header(bool now);
    std::int64_t units_per_update() const;

    std::u16string m_path;
    Opener m_opener;
    std::unique_ptr<os::File> m_file;
    bool m_ok = true;
    bool m_cut_short = false;
    std::int64_t m_units = 0;
    // Units that the header on disk counts; stale_header when it counts
    // another amount (a file appended to after its recording was killed).
    static constexpr std::int64_t stale_header = -1;
    std::int64_t m_declared_units = 0;
    std::int64_t m_fact_offset = -1;
};

}
