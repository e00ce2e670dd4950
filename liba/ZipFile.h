#pragma once

#include "liba/Nocopy.h"
#include "liba/ResourceReaderWriterBase.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace liba {

// Reads the members of a zip archive as small read-only files. The archive
// is walked through its local headers from the start (the central directory
// is never read), and only members stored without compression can be read:
// the walk ends at the first member it cannot read, so later members are
// not found. A damaged archive records nothing; it ends the walk early or
// gives short reads.
class ZipFile : private Nocopy, public ResourceReaderWriterBase {
public:
    // Reads the archive it is given (not null), which the caller opened: a
    // file that failed to open passes its first error on.
    explicit ZipFile(std::unique_ptr<ResourceReader> archive);

    // Makes the next member current and returns its name; empty at the end
    // of the walk or on any error, and no member is current then.
    std::u16string next_entry();
    // Walks from the start to the first member whose name equals the given
    // one regardless of case ('\' and '/' alike) and makes it current.
    bool open_entry(std::u16string_view name);

    // Reads and moves stay within the current member.
    std::size_t read(void* buffer, std::size_t count) override;
    std::int64_t skip(std::int64_t distance) override;
    std::uint64_t size() override;
    bool seek(std::uint64_t position) override;
    std::uint64_t tell() override;
    // Where the current member's data starts in the archive.
    std::uint64_t data_offset() const;
    // Archives are read-only: writes return 0.
    std::size_t write(const void* buffer, std::size_t count) override;

    // Little-endian numbers read from the archive's current position; 0 when fewer bytes arrive.
    std::uint32_t read_u32();
    std::uint16_t read_u16();

private:
    void forget_member();

    std::unique_ptr<ResourceReader> m_archive;
    std::uint64_t m_next_header = 0;
    std::uint64_t m_member_position = 0;
    std::uint64_t m_member_data_offset = 0;
    std::uint64_t m_member_size = 0;
};

}
