#include "model/InsertMerge.h"

#include "audio/readers/FileReader.h"
#include "audio/writers/FileWriter.h"
#include "liba/Path.h"
#include "model/DocumentMedia.h"
#include "model/FileHelpers.h"
#include "model/RangeMarkList.h"
#include "os/FileInfo.h"
#include "os/Log.h"

#include <algorithm>

namespace {

// The record chain of a new file in the coding of the chain's file.
std::unique_ptr<audio::RecordChain> chain_like(
    DocumentMedia& media, audio::PlayChain& like, const std::u16string& path)
{
    audio::FileReader* reader = like.get_reader();
    auto chain = media.create_record_chain(path, like.get_format_name(), reader->get_channels(),
        reader->get_bits_per_sample(), reader->get_sample_rate(), reader->get_bitrate(), false);
    if (!chain || !chain->get_writer() || !chain->get_writer()->is_ok())
        return nullptr;
    return chain;
}

// Passes the next `units` of the chain's file into the record chain's file.
bool copy(audio::PlayChain& from, audio::RecordChain& to, std::int64_t units)
{
    return from.connect_to(to) && (units <= 0 || from.get_reader()->skip_bytes(units));
}

struct Copied {
    std::int64_t at = 0; // where the part begins in the new file
    std::int64_t end_of_part = 0;
    std::int64_t total = 0;
};

bool copy_all(audio::PlayChain& target, audio::PlayChain& part, audio::RecordChain& out,
    std::int64_t position, Copied& copied)
{
    audio::FileReader& head = *target.get_reader();
    audio::FileWriter& writer = *out.get_writer();
    position = std::clamp<std::int64_t>(position, 0, head.get_length_bytes());
    if (!copy(target, out, position))
        return false;
    copied.at = writer.get_data_size();
    if (!copy(part, out, part.get_reader()->get_length_bytes()))
        return false;
    copied.end_of_part = writer.get_data_size();
    if (!copy(target, out, head.get_length_bytes() - head.get_position_bytes()))
        return false;
    copied.total = writer.get_data_size();
    return writer.is_ok();
}

// Whether the new file reads back as long as what went into it.
bool reads_whole(DocumentMedia& media, const std::u16string& path, std::int64_t total)
{
    auto chain = media.open_play_chain(path, nullptr);
    return chain && chain->get_reader()->get_length_bytes() == total;
}

}

bool merge_insert(DocumentMedia& media, const std::u16string& target, const std::u16string& part,
    std::int64_t position, const RangeMarkList& part_marks)
{
    const std::u16string out = unique_file_path(liba::get_directory(target), u"insert", u"tmp");
    if (out.empty())
        return false;
    Copied copied;
    bool written = false;
    {
        // Deleted last: the readers joined to its writer let go of it first.
        std::unique_ptr<audio::RecordChain> out_chain;
        auto target_chain = media.open_play_chain(target, nullptr);
        auto part_chain = media.open_play_chain(part, nullptr);
        if (!target_chain || !part_chain) {
            os::log() << u"merge_insert: can't read " << (target_chain ? part : target) << u"\n";
            return false;
        }
        out_chain = chain_like(media, *part_chain, out);
        written = out_chain && copy_all(*target_chain, *part_chain, *out_chain, position, copied);
        // Deleting the chains completes the new file and closes all three.
    }
    if (!written || !reads_whole(media, out, copied.total) || !media.replace_file(out, target)) {
        os::log() << u"merge_insert: " << target << u" stays as it was; the part stays in " << part << u"\n";
        os::FileInfo(out).remove();
        return false;
    }
    RangeMarkList marks = RangeMarkList::load(bookmark_file_name(target));
    marks.merge(part_marks, copied.at, copied.end_of_part - copied.at);
    marks.add(copied.at, u"Bookmark");
    marks.add(copied.end_of_part, u"Bookmark");
    marks.save(bookmark_file_name(target));
    os::FileInfo(part).remove();
    os::FileInfo(bookmark_file_name(part)).remove(); // its marks are in the target's now
    return true;
}
