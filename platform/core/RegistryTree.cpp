#include "platform/core/RegistryTree.h"

#include "platform/core/Utf8.h"

#include <cstdio>

namespace platform {

namespace {

constexpr const char* root_names[] = { "HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS" };
using Key = RegistryTree::Key;

char16_t fold_ascii(char16_t c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; }

// The components of a sub-key path; empty ones are dropped. False when a
// component holds a character the file cannot keep on a key line.
bool split_key(std::u16string_view path, std::vector<std::u16string_view>& parts)
{
    parts.clear();
    while (!path.empty()) {
        const auto slash = path.find(u'\\');
        const auto part = path.substr(0, slash);
        for (char16_t c : part) {
            if (c < 0x20)
                return false;
        }
        if (!part.empty())
            parts.push_back(part);
        if (slash == std::u16string_view::npos)
            break;
        path.remove_prefix(slash + 1);
    }
    return true;
}

void append_quoted(std::string& out, std::u16string_view text)
{
    out += '"';
    for (char c : to_utf8(text)) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '"': out += "\\\""; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\0': out += "\\0"; break;
        default: out += c;
        }
    }
    out += '"';
}

// A string value that reads back exactly from its quoted form.
bool is_plain_text(const RegistryValue& v, std::u16string& text)
{
    if (v.type != registry_string || v.data.size() < 2 || v.data.size() % 2 != 0)
        return false;
    text.clear();
    for (std::size_t i = 0; i < v.data.size(); i += 2)
        text += static_cast<char16_t>(v.data[i] | v.data[i + 1] << 8);
    if (text.back() != 0)
        return false;
    text.pop_back();
    if (text.find(u'\0') != std::u16string::npos)
        return false;
    return from_utf8(to_utf8(text)) == text;
}

void append_value(std::string& out, const RegistryValue& v)
{
    static const char hex[] = "0123456789abcdef";
    append_quoted(out, v.name);
    out += '=';
    std::u16string text;
    if (v.type == registry_dword && v.data.size() == 4) {
        const std::uint32_t n = v.data[0] | v.data[1] << 8 | v.data[2] << 16 | static_cast<std::uint32_t>(v.data[3]) << 24;
        char buf[20];
        std::snprintf(buf, sizeof buf, "dword:%08x", n);
        out += buf;
    } else if (is_plain_text(v, text)) {
        append_quoted(out, text);
    } else {
        out += "hex(" + std::to_string(v.type) + "):";
        for (std::size_t i = 0; i < v.data.size(); ++i) {
            if (i > 0)
                out += ',';
            out += hex[v.data[i] >> 4];
            out += hex[v.data[i] & 15];
        }
    }
    out += '\n';
}

void append_key(std::string& out, const Key& key, const std::string& path)
{
    out += '[' + path + "]\n";
    for (const auto& v : key.values)
        append_value(out, v);
    for (const auto& [_, sub] : key.children)
        append_key(out, *sub, path + '\\' + to_utf8(sub->name));
}

// Reads a quoted text at pos; pos ends after the closing quote.
bool parse_quoted(std::string_view line, std::size_t& pos, std::u16string& text)
{
    if (pos >= line.size() || line[pos] != '"')
        return false;
    std::string raw;
    for (++pos; pos < line.size(); ++pos) {
        char c = line[pos];
        if (c == '"') {
            ++pos;
            text = from_utf8(raw);
            return true;
        }
        if (c == '\\') {
            if (++pos >= line.size())
                return false;
            c = line[pos];
            c = c == 'n' ? '\n' : c == 'r' ? '\r' : c == '0' ? '\0' : c;
        }
        raw += c;
    }
    return false;
}

int hex_digit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool parse_data(std::string_view field, RegistryValue& v)
{
    v.data.clear();
    if (field.starts_with('"')) {
        std::size_t pos = 0;
        std::u16string text;
        if (!parse_quoted(field, pos, text) || pos != field.size())
            return false;
        v.type = registry_string;
        for (char16_t c : text) {
            v.data.push_back(static_cast<std::uint8_t>(c));
            v.data.push_back(static_cast<std::uint8_t>(c >> 8));
        }
        v.data.insert(v.data.end(), { 0, 0 });
        return true;
    }
    if (field.starts_with("dword:")) {
        field.remove_prefix(6);
        if (field.empty() || field.size() > 8)
            return false;
        std::uint32_t n = 0;
        for (char c : field) {
            const int d = hex_digit(c);
            if (d < 0)
                return false;
            n = n << 4 | static_cast<std::uint32_t>(d);
        }
        v.type = registry_dword;
        v.data = { static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(n >> 8), static_cast<std::uint8_t>(n >> 16),
            static_cast<std::uint8_t>(n >> 24) };
        return true;
    }
    if (!field.starts_with("hex("))
        return false;
    field.remove_prefix(4);
    std::uint64_t type = 0;
    std::size_t i = 0;
    for (; i < field.size() && field[i] >= '0' && field[i] <= '9' && type <= 0xFFFFFFFFu; ++i)
        type = type * 10 + static_cast<std::uint64_t>(field[i] - '0');
    if (i == 0 || type > 0xFFFFFFFFu || field.substr(i, 2) != "):")
        return false;
    v.type = static_cast<std::uint32_t>(type);
    field.remove_prefix(i + 2);
    while (!field.empty()) {
        if (field.size() < 2 || hex_digit(field[0]) < 0 || hex_digit(field[1]) < 0)
            return false;
        v.data.push_back(static_cast<std::uint8_t>(hex_digit(field[0]) << 4 | hex_digit(field[1])));
        field.remove_prefix(2);
        if (!field.empty()) {
            if (field[0] != ',' || field.size() == 1)
                return false;
            field.remove_prefix(1);
        }
    }
    return true;
}

}

RegistryTree::RegistryTree(RegistryStore::NameFold fold)
    : m_fold(fold ? fold : fold_ascii)
{
    clear();
}

void RegistryTree::clear()
{
    for (auto& root : m_roots)
        root = std::make_unique<Key>();
}

std::u16string RegistryTree::folded(std::u16string_view name) const
{
    std::u16string out(name);
    for (auto& c : out)
        c = m_fold(c);
    return out;
}

RegistryTree::Key* RegistryTree::child(Key& key, std::u16string_view name, bool create)
{
    auto f = folded(name);
    auto it = key.children.find(f);
    if (it != key.children.end())
        return it->second.get();
    if (!create)
        return nullptr;
    auto made = std::make_unique<Key>();
    made->name = std::u16string(name);
    return key.children.emplace(std::move(f), std::move(made)).first->second.get();
}

RegistryTree::Key* RegistryTree::walk(RegistryRoot root, std::u16string_view sub_key, bool create)
{
    std::vector<std::u16string_view> parts;
    if (!split_key(sub_key, parts))
        return nullptr;
    Key* key = m_roots[static_cast<int>(root)].get();
    for (auto part : parts) {
        key = child(*key, part, create);
        if (!key)
            return nullptr;
    }
    return key;
}

RegistryTree::Key* RegistryTree::find(RegistryRoot root, std::u16string_view sub_key)
{
    return walk(root, sub_key, false);
}

RegistryTree::Key* RegistryTree::create(RegistryRoot root, std::u16string_view sub_key)
{
    return walk(root, sub_key, true);
}

RegistryValue* RegistryTree::find_value(Key& key, std::u16string_view name)
{
    const auto wanted = folded(name);
    for (auto& v : key.values) {
        if (v.name.size() == wanted.size() && folded(v.name) == wanted)
            return &v;
    }
    return nullptr;
}

RegistryTree::Key* RegistryTree::parse_key_line(std::string_view line)
{
    const auto close = line.rfind(']');
    if (close == std::string_view::npos)
        return nullptr;
    const std::u16string path = from_utf8(line.substr(1, close - 1));
    std::vector<std::u16string_view> parts;
    if (!split_key(path, parts) || parts.empty())
        return nullptr;
    for (int r = 0; r < 4; ++r) {
        if (parts[0] != from_utf8(root_names[r]))
            continue;
        Key* key = m_roots[r].get();
        for (std::size_t i = 1; i < parts.size(); ++i)
            key = child(*key, parts[i], true);
        return key;
    }
    return nullptr;
}

void RegistryTree::parse(std::string_view text)
{
    Key* current = nullptr;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        if (line.starts_with('[')) {
            current = parse_key_line(line);
        } else if (line.starts_with('"') && current) {
            RegistryValue v;
            std::size_t pos = 0;
            if (!parse_quoted(line, pos, v.name) || pos >= line.size() || line[pos] != '=')
                continue;
            if (!parse_data(line.substr(pos + 1), v))
                continue;
            if (auto* existing = find_value(*current, v.name))
                *existing = std::move(v);
            else
                current->values.push_back(std::move(v));
        }
    }
}

std::string RegistryTree::text() const
{
    std::string text = "; Orvanta registry\n";
    for (int r = 0; r < 4; ++r)
        append_key(text, *m_roots[r], root_names[r]);
    return text;
}

}
