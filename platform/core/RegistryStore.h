#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class RegistryTree;

enum class RegistryRoot : std::uint8_t { classes_root, current_user, local_machine, users };

constexpr std::uint32_t registry_string = 1;
constexpr std::uint32_t registry_dword = 4;

struct RegistryValue {
    std::u16string name;
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
};

// The per-user registry: one text file holding the four roots, their keys and
// typed values. Key and value names compare without case and keep their case;
// sub-keys are separated by '\'. Every change rewrites the file atomically
// under a file lock; a change by another process is picked up at the next call.
class RegistryStore {
public:
    // Maps a character to the form names are compared in; without one, only
    // ASCII letters fold.
    using NameFold = char16_t (*)(char16_t);

    explicit RegistryStore(std::string file_path, NameFold fold = nullptr);
    ~RegistryStore();
    RegistryStore(const RegistryStore&) = delete;
    RegistryStore& operator=(const RegistryStore&) = delete;

    const std::string& file_path() const { return m_path; }

    // Creates the key and the keys above it when missing. False when the
    // name is not allowed, or the file cannot be written or was not read whole
    // (too large, unreadable): a store is never written over what it did not read.
    bool create_key(RegistryRoot root, std::u16string_view sub_key);
    bool key_exists(RegistryRoot root, std::u16string_view sub_key);
    // The key must exist.
    bool set_value(RegistryRoot root, std::u16string_view sub_key, std::u16string_view name, std::uint32_t type,
        std::span<const std::uint8_t> data);
    std::optional<RegistryValue> get_value(RegistryRoot root, std::u16string_view sub_key, std::u16string_view name);
    // The names of the key's sub-keys in case-insensitive order; none when the
    // key does not exist.
    std::optional<std::vector<std::u16string>> sub_keys(RegistryRoot root, std::u16string_view sub_key);

    // A number that changes whenever what the store holds may have changed,
    // by this process or another; no two stores of the process share one. A
    // call reads the file only when the system told of a change to it, so
    // callers may ask often and read their values only when it moves.
    std::uint64_t generation();

    struct FileStamp;

private:
    enum class Outcome { unchanged, changed, refused };
    void reload_if_changed();
    // Whether the file may have changed since the last look; false only
    // while the folder is watched and nothing happened to the file.
    bool file_touched();
    void stop_watching();
    template<typename Change>
    bool change(Change&& change);
    bool write_file();

    std::string m_path;
    std::mutex m_mutex;
    std::unique_ptr<RegistryTree> m_tree;
    std::unique_ptr<FileStamp> m_stamp;
    bool m_readable { true };
    std::uint64_t m_generation;
    int m_watch { -1 }; // the system's change notices for the file's folder
};

// Where the user's store lies: the file named by ORVANTA_REGISTRY_FILE, else
// $XDG_CONFIG_HOME/orvanta/registry, else ~/.config/orvanta/registry.
std::string default_registry_file();

}
