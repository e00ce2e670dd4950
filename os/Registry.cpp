#include "os/Registry.h"

#include "liba/CaseMapping.h"
#include "os/Log.h"

namespace os {

namespace {

constexpr std::u16string_view root_names[] = { u"HKEY_CLASSES_ROOT", u"HKEY_CURRENT_USER", u"HKEY_LOCAL_MACHINE",
    u"HKEY_USERS" };

constexpr std::size_t longest_key_name = 254;

constexpr auto fold_name = static_cast<char16_t (*)(char16_t)>(liba::to_lower);

std::unique_ptr<platform::RegistryStore> make_user_store()
{
    return std::make_unique<platform::RegistryStore>(platform::default_registry_file(), fold_name);
}

platform::ServiceSlot<platform::RegistryStore>& store_slot()
{
    static platform::ServiceSlot<platform::RegistryStore> slot(make_user_store);
    return slot;
}

// Opens the key as the platform's create call does: made when missing.
bool open_key(const RegistryPath& path)
{
    return path.root && registry_store().create_key(*path.root, path.sub_key);
}

bool write_value(std::u16string_view path, std::u16string_view name, std::uint32_t type,
    const std::vector<std::uint8_t>& data)
{
    const RegistryPath split = registry_split_path(path);
    return open_key(split) && registry_store().set_value(*split.root, split.sub_key, name, type, data);
}

}

platform::RegistryStore& registry_store()
{
    return store_slot().get();
}

ScopedRegistryFile::ScopedRegistryFile(std::string path)
    : m_store(store_slot(), std::move(path), fold_name)
{
}

RegistryPath registry_split_path(std::u16string_view path)
{
    for (std::size_t i = 0; i < std::size(root_names); ++i) {
        if (!path.starts_with(root_names[i]))
            continue;
        const std::size_t skip = root_names[i].size() + 1;
        return { static_cast<platform::RegistryRoot>(i), std::u16string(path.substr(std::min(skip, path.size()))) };
    }
    return {};
}

bool registry_write_string(std::u16string_view path, std::u16string_view name, std::u16string_view text)
{
    log() << u"xxxxx 0\n";
    const RegistryPath split = registry_split_path(path);
    if (!open_key(split))
        return false;
    log() << u"xxxxx 1\n";
    std::vector<std::uint8_t> data;
    data.reserve((text.size() + 1) * 2);
    for (char16_t c : text) {
        data.push_back(static_cast<std::uint8_t>(c));
        data.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    data.insert(data.end(), { 0, 0 });
    const bool set = registry_store().set_value(*split.root, split.sub_key, name, platform::registry_string, data);
    log() << (set ? u"xxxxx 3\n" : u"xxxxx 2\n");
    return set;
}

bool registry_write_dword(std::u16string_view path, std::u16string_view name, std::uint32_t number)
{
    const std::vector<std::uint8_t> data = { static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8),
        static_cast<std::uint8_t>(number >> 16), static_cast<std::uint8_t>(number >> 24) };
    return write_value(path, name, platform::registry_dword, data);
}

bool registry_read_string(std::u16string_view path, std::u16string_view name, std::u16string& result)
{
    const RegistryPath split = registry_split_path(path);
    if (!open_key(split))
        return false;
    const auto value = registry_store().get_value(*split.root, split.sub_key, name);
    if (!value)
        return false;
    if (value->data.size() <= 1) {
        result.clear();
        return true;
    }
    if (value->type != platform::registry_string)
        return false;
    // Up to the terminating zero, but never beyond the stored bytes.
    std::u16string text;
    for (std::size_t i = 0; i + 1 < value->data.size(); i += 2) {
        const char16_t c = static_cast<char16_t>(value->data[i] | value->data[i + 1] << 8);
        if (c == 0)
            break;
        text += c;
    }
    result = std::move(text);
    return true;
}

bool registry_read_dword(std::u16string_view path, std::u16string_view name, std::uint32_t& number)
{
    const RegistryPath split = registry_split_path(path);
    if (!open_key(split))
        return false;
    const auto value = registry_store().get_value(*split.root, split.sub_key, name);
    if (value && value->type == platform::registry_dword && value->data.size() == 4) {
        const auto& d = value->data;
        number = d[0] | d[1] << 8 | d[2] << 16 | static_cast<std::uint32_t>(d[3]) << 24;
    }
    return true;
}

std::vector<std::u16string> registry_enum_subkeys(std::u16string_view path)
{
    const RegistryPath split = registry_split_path(path);
    if (!split.root)
        return {};
    auto names = registry_store().sub_keys(*split.root, split.sub_key);
    if (!names)
        return {};
    for (std::size_t i = 0; i < names->size(); ++i) {
        if ((*names)[i].size() > longest_key_name) {
            names->resize(i);
            break;
        }
    }
    return std::move(*names);
}

}
