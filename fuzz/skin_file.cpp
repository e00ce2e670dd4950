// Checks the input as a skin file and, when it passes, reads every record,
// table entry, text and template it leads to, and loads it as a skin.
#include "FuzzFile.h"
#include "skinner/skin/PropertiesImpl.h"
#include "skinner/skin/SkinFile.h"

#include <cstdlib>
#include <vector>

namespace {

using namespace skinner::skin_format;

void read_record(const skinner::SkinFile& file, std::uint32_t record)
{
    std::uint32_t comparisons = 0;
    if (file.find_record(record, file.name(record), comparisons) != record)
        std::abort(); // a checked tree finds its own root
    for (std::size_t t = 0; t < table_count; ++t) {
        const auto table = static_cast<Table>(t);
        const auto [first, behind] = file.table(record, table);
        for (std::uint32_t at = first; at < behind; at += static_cast<std::uint32_t>(entry_size(table))) {
            const std::u16string_view name = file.text(read_u16(file.bytes() + at));
            if (file.find_entry(record, table, name, comparisons) != at)
                std::abort(); // a checked table is sorted
            if (table == Table::strings)
                file.text(read_node<StringNode>(file.bytes() + at).value);
        }
    }
}

void read_tree(const skinner::SkinFile& file, std::uint32_t root, bool forms)
{
    std::vector<std::uint32_t> pending;
    if (root)
        pending.push_back(root);
    while (!pending.empty()) {
        const std::uint32_t record = pending.back();
        pending.pop_back();
        read_record(file, record);
        if (forms) {
            for (std::uint32_t i = 0; i < file.template_count(record); ++i)
                file.template_entry(record, i);
            read_tree(file, file.controls_root(record), false);
        }
        if (file.left(record))
            pending.push_back(file.left(record));
        if (file.right(record))
            pending.push_back(file.right(record));
    }
}

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const skinner::SkinFile file(data, size);
    if (file.is_valid()) {
        file.string_table();
        read_tree(file, file.forms_root(), true);
        read_tree(file, file.kinds_root(), false);
    }
    FuzzFile fuzz(data, size);
    skinner::PropertiesImpl skin(fuzz.path(), skinner::Size { 240, 320 });
    if (skin.is_valid() && !file.is_valid())
        std::abort();
    skin.check_version(u"Orvanta_500", skinner::Size { 480, 640 });
    return 0;
}
