#pragma once

#include "platform/core/RegistryStore.h"

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The registry's keys and values in memory, and their text form:
//
//   [HKEY_CURRENT_USER\Software\Qiro]
//   "Log"=dword:00000001
//   "Skin"="Default"
//   "Raw"=hex(3):01,ff
//
// Quoted texts escape \ " CR LF and NUL with a backslash. Names compare in
// their folded form and keep their case.
class RegistryTree {
public:
    struct Key {
        std::u16string name;
        std::vector<RegistryValue> values;
        std::map<std::u16string, std::unique_ptr<Key>> children; // by folded name
    };

    explicit RegistryTree(RegistryStore::NameFold fold);

    void clear();
    // Reads the text over the tree; lines that do not parse are skipped, as
    // are values under an unknown root.
    void parse(std::string_view text);
    std::string text() const;

    // Null when the key is missing or the path holds a character a key line
    // cannot keep.
    Key* find(RegistryRoot root, std::u16string_view sub_key);
    // The key, made with the keys above it when missing.
    Key* create(RegistryRoot root, std::u16string_view sub_key);
    RegistryValue* find_value(Key& key, std::u16string_view name);

private:
    Key* child(Key& key, std::u16string_view name, bool create);
    Key* walk(RegistryRoot root, std::u16string_view sub_key, bool create);
    Key* parse_key_line(std::string_view line);
    std::u16string folded(std::u16string_view name) const;

    RegistryStore::NameFold m_fold;
    std::unique_ptr<Key> m_roots[4];
};

}
