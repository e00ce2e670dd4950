#pragma once

#include "platform/core/RegistryStore.h"
#include "platform/core/Service.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Registry access by path: "HKEY_CURRENT_USER\Software\Qiro" names the root
// and the sub-key in one string. Each call does its one operation.
namespace os {

struct RegistryPath {
    std::optional<platform::RegistryRoot> root; // none for an unknown root
    std::u16string sub_key;
};

// The root name is matched case-sensitively; one separator follows it.
RegistryPath registry_split_path(std::u16string_view path);

// The writes create the key when it is missing.
bool registry_write_string(std::u16string_view path, std::u16string_view name, std::u16string_view text);
bool registry_write_dword(std::u16string_view path, std::u16string_view name, std::uint32_t number);
// Creates the key when missing. False unless a string value (or an empty
// value of any type) was read; the result is then unchanged.
bool registry_read_string(std::u16string_view path, std::u16string_view name, std::u16string& result);
// Creates the key when missing; true whenever the key could be opened. The
// number changes only when a DWORD value was read, so callers set their
// default first.
bool registry_read_dword(std::u16string_view path, std::u16string_view name, std::uint32_t& number);
// Sub-key names in the store's order; empty when the key does not exist. A
// name of 255 characters or more ends the list.
std::vector<std::u16string> registry_enum_subkeys(std::u16string_view path);

// The user's store behind these functions.
platform::RegistryStore& registry_store();

// Points the functions above at another store file for its life, then back at
// the store before; for tests, while no other thread uses the registry.
class ScopedRegistryFile {
public:
    explicit ScopedRegistryFile(std::string path);

private:
    platform::ScopedService<platform::RegistryStore> m_store;
};

}
