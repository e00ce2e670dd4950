#include "platform/RegistryStore.h"

#include "platform/Utf8.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <map>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

struct RegistryStore::Key {
    std::u16string name;
    std::vector<RegistryValue> values;
    std::map<std::u16string, std::unique_ptr<Key>> children; // by folded name
};

struct RegistryStore::FileStamp {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified {};
    timespec changed {};

    bool operator==(const FileStamp& o) const
    {
        return exists == o.exists && device == o.device && inode == o.inode && size == o.size
            && modified.tv_sec == o.modified.tv_sec && modified.tv_nsec == o.modified.tv_nsec
            && changed.tv_sec == o.changed.tv_sec && changed.tv_nsec == o.changed.tv_nsec;
    }
};

namespace {

constexpr const char* root_names[] = { "HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS" };
constexpr off_t largest_file = 16 << 20;

using Key = RegistryStore::Key;

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

// ---- File format -------------------------------------------------------
//
//   [HKEY_CURRENT_USER\Software\Qiro]
//   "Log"=dword:00000001
//   "Skin"="Default"
//   "Raw"=hex(3):01,ff
//
// Quoted texts escape \ " CR LF and NUL with a backslash.

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

std::u16string RegistryStore::folded(std::u16string_view name) const
{
    std::u16string out(name);
    for (auto& c : out)
        c = m_fold(c);
    return out;
}

RegistryStore::Key* RegistryStore::child(Key& key, std::u16string_view name, bool create)
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

RegistryValue* RegistryStore::find_value(Key& key, std::u16string_view name)
{
    const auto wanted = folded(name);
    for (auto& v : key.values) {
        if (v.name.size() == wanted.size() && folded(v.name) == wanted)
            return &v;
    }
    return nullptr;
}

RegistryStore::Key* RegistryStore::parse_key_line(std::string_view line)
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

// Lines that do not parse are skipped, as are values under an unknown root.
void RegistryStore::parse(std::string_view text)
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

namespace {

bool make_folders(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos || slash == 0)
        return true;
    const std::string folder = path.substr(0, slash);
    struct stat st;
    if (stat(folder.c_str(), &st) == 0)
        return S_ISDIR(st.st_mode);
    if (!make_folders(folder))
        return false;
    return mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

bool write_all(int fd, const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

RegistryStore::FileStamp stamp_of(const std::string& path)
{
    RegistryStore::FileStamp stamp;
    struct stat st;
    if (stat(path.c_str(), &st) != 0)
        return stamp;
    stamp.exists = true;
    stamp.device = st.st_dev;
    stamp.inode = st.st_ino;
    stamp.size = st.st_size;
    stamp.modified = st.st_mtim;
    stamp.changed = st.st_ctim;
    return stamp;
}

// Holds the store's lock file for writing.
class FileLock {
public:
    explicit FileLock(const std::string& path)
    {
        const std::string name = path + ".lock";
        m_fd = open(name.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (m_fd < 0 && make_folders(path))
            m_fd = open(name.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (m_fd < 0)
            return;
        while (flock(m_fd, LOCK_EX) != 0) {
            if (errno != EINTR) {
                close(m_fd);
                m_fd = -1;
                return;
            }
        }
    }
    ~FileLock()
    {
        if (m_fd >= 0)
            close(m_fd); // releases the lock
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    bool is_held() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};

}

RegistryStore::RegistryStore(std::string file_path, NameFold fold)
    : m_path(std::move(file_path))
    , m_fold(fold ? fold : fold_ascii)
    , m_stamp(std::make_unique<FileStamp>())
{
    for (auto& root : m_roots)
        root = std::make_unique<Key>();
    m_stamp->exists = false;
    m_stamp->inode = static_cast<ino_t>(-1); // never matches: load at first use
}

RegistryStore::~RegistryStore() = default;

void RegistryStore::reload_if_changed()
{
    const FileStamp now = stamp_of(m_path);
    if (now == *m_stamp)
        return;
    for (auto& root : m_roots)
        root = std::make_unique<Key>();
    *m_stamp = now;
    m_readable = true;
    if (!now.exists)
        return;
    // A file that cannot be read whole is never written over.
    m_readable = false;
    if (now.size > largest_file)
        return;
    const int fd = open(m_path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    std::string text;
    char buf[65536];
    for (;;) {
        const ssize_t n = read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 || text.size() + static_cast<std::size_t>(n) > static_cast<std::size_t>(largest_file)) {
            close(fd);
            return;
        }
        if (n == 0)
            break;
        text.append(buf, static_cast<std::size_t>(n));
    }
    close(fd);
    m_readable = true;
    parse(text);
}

bool RegistryStore::write_file()
{
    std::string text = "; Orvanta registry\n";
    for (int r = 0; r < 4; ++r)
        append_key(text, *m_roots[r], root_names[r]);

    const std::string temp = m_path + ".tmp";
    const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    const bool written = write_all(fd, text) && fsync(fd) == 0;
    if (close(fd) != 0 || !written || rename(temp.c_str(), m_path.c_str()) != 0) {
        unlink(temp.c_str());
        return false;
    }
    const auto slash = m_path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : m_path.substr(0, slash);
    const int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
    *m_stamp = stamp_of(m_path);
    return true;
}

template<typename Change>
bool RegistryStore::change(Change&& apply)
{
    std::lock_guard guard(m_mutex);
    reload_if_changed();
    // Nothing to write: no need for the file lock.
    if (apply(false) == Outcome::unchanged)
        return true;
    FileLock lock(m_path);
    if (!lock.is_held())
        return false;
    reload_if_changed(); // another process may have written since
    if (!m_readable)
        return false;
    const Outcome outcome = apply(true);
    if (outcome == Outcome::refused)
        return false;
    if (outcome == Outcome::unchanged || write_file())
        return true;
    // Forget the change that did not reach the file.
    m_stamp->inode = static_cast<ino_t>(-1);
    reload_if_changed();
    return false;
}

RegistryStore::Key* RegistryStore::find(RegistryRoot root, std::u16string_view sub_key)
{
    std::vector<std::u16string_view> parts;
    if (!split_key(sub_key, parts))
        return nullptr;
    Key* key = m_roots[static_cast<int>(root)].get();
    for (auto part : parts) {
        key = child(*key, part, false);
        if (!key)
            return nullptr;
    }
    return key;
}

bool RegistryStore::create_key(RegistryRoot root, std::u16string_view sub_key)
{
    std::vector<std::u16string_view> parts;
    if (!split_key(sub_key, parts))
        return false;
    return change([&](bool apply) {
        if (find(root, sub_key))
            return Outcome::unchanged;
        if (apply) {
            Key* key = m_roots[static_cast<int>(root)].get();
            for (auto part : parts)
                key = child(*key, part, true);
        }
        return Outcome::changed;
    });
}

bool RegistryStore::key_exists(RegistryRoot root, std::u16string_view sub_key)
{
    std::lock_guard guard(m_mutex);
    reload_if_changed();
    return find(root, sub_key) != nullptr;
}

bool RegistryStore::set_value(RegistryRoot root, std::u16string_view sub_key, std::u16string_view name,
    std::uint32_t type, std::span<const std::uint8_t> data)
{
    return change([&](bool apply) {
        Key* key = find(root, sub_key);
        if (!key)
            return Outcome::refused;
        RegistryValue* value = find_value(*key, name);
        if (value && value->type == type && std::equal(value->data.begin(), value->data.end(), data.begin(), data.end()))
            return Outcome::unchanged;
        if (!apply)
            return Outcome::changed;
        if (!value) {
            key->values.push_back({ std::u16string(name), 0, {} });
            value = &key->values.back();
        }
        value->type = type;
        value->data.assign(data.begin(), data.end());
        return Outcome::changed;
    });
}

std::optional<RegistryValue> RegistryStore::get_value(RegistryRoot root, std::u16string_view sub_key,
    std::u16string_view name)
{
    std::lock_guard guard(m_mutex);
    reload_if_changed();
    Key* key = find(root, sub_key);
    if (!key)
        return std::nullopt;
    if (const RegistryValue* value = find_value(*key, name))
        return *value;
    return std::nullopt;
}

std::optional<std::vector<std::u16string>> RegistryStore::sub_keys(RegistryRoot root, std::u16string_view sub_key)
{
    std::lock_guard guard(m_mutex);
    reload_if_changed();
    Key* key = find(root, sub_key);
    if (!key)
        return std::nullopt;
    std::vector<std::u16string> names;
    for (const auto& [_, sub] : key->children)
        names.push_back(sub->name);
    return names;
}

std::string default_registry_file()
{
    if (const char* file = std::getenv("ORVANTA_REGISTRY_FILE"); file && *file)
        return file;
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config == '/')
        return std::string(config) + "/orvanta/registry";
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : ".") + "/.config/orvanta/registry";
}


}
