// Loads the input as a bookmark file, checks the list's invariants, works on
// it as the program does, and checks that saving and loading again keeps the
// marks and the order in which they play.
#include "FuzzFile.h"
#include "model/RangeMarkList.h"

#include <cstdlib>
#include <limits>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

void check(const RangeMarkList& list)
{
    std::vector<bool> seen(list.mark_count(), false);
    for (int i = 1; i < list.mark_count(); ++i) {
        if (list.mark(i - 1).position > list.mark(i).position)
            std::abort();
    }
    // A mark may lie beyond any given file length; only an unbounded total
    // makes every played segment's length a promise of the list itself.
    for (int slot = 0; slot < list.play_count(); ++slot) {
        int index = list.play_order()[slot];
        if (index < 0 || index >= list.mark_count() || seen[index])
            std::abort();
        seen[index] = true;
        if (list.play_mark(slot).play == RangeMark::not_played || list.play_length(slot, std::numeric_limits<std::int64_t>::max()) < 0)
            std::abort();
    }
}

std::vector<std::int64_t> played_positions(const RangeMarkList& list)
{
    std::vector<std::int64_t> result;
    for (int slot = 0; slot < list.play_count(); ++slot)
        result.push_back(list.play_mark(slot).position);
    return result;
}

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzFile file(data, size);
    RangeMarkList list = RangeMarkList::load(file.path());
    check(list);
    for (int slot = next_valid_index(list, -1); slot < list.play_count();
         slot = next_valid_index(list, slot)) { }

    // Saving syncs the file to disk; in memory the fuzzer runs many times faster.
    const std::u16string copy_path = (access("/dev/shm", W_OK) == 0)
        ? u"/dev/shm/orvanta-fuzz-" + platform::from_utf8(std::to_string(getpid())) + u".bm"
        : file.path() + u".bm";
    if (list.save(copy_path)) {
        RangeMarkList again = RangeMarkList::load(copy_path);
        if (again.mark_count() != list.mark_count() || played_positions(again) != played_positions(list))
            std::abort();
    }

    RangeMarkList part = list;
    list.add(size, u"Bookmark");
    list.merge(part, size / 2, size);
    list.add(0, u"Bookmark");
    check(list);
    std::remove(platform::to_utf8(copy_path).c_str());
    return 0;
}
