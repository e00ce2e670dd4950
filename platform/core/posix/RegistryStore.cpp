#include "platform/core/RegistryStore.h"

#include "platform/core/AtomicFile.h"
#include "platform/core/File.h"
#include "platform/core/RegistryTree.h"
#include "platform/core/Utf8.h"
#include "platform/core/Win32Error.h"
#include "platform/core/posix/PosixFile.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

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

constexpr std::int64_t largest_file = 16 << 20;

std::uint64_t next_generation()
{
    static std::atomic<std::uint64_t> last { 0 };
    return ++last;
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

// The whole file, when it can be read and is not larger than largest_file.
bool read_whole(const std::string& path, std::string& text)
{
    const FileHandle file = open_file(from_utf8(path), FileAccess::Read, FileCreation::OpenExisting);
    if (file == no_file)
        return false;
    const std::int64_t size = file_size(file);
    bool whole = size >= 0 && size <= largest_file;
    if (whole) {
        text.resize(static_cast<std::size_t>(size));
        whole = read_file(file, text.data(), text.size()) == size;
    }
    close_file(file);
    return whole;
}

// Holds the store's lock file for writing.
class FileLock {
public:
    explicit FileLock(const std::string& path)
    {
        const std::string name = path + ".lock";
        m_fd = open(name.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (m_fd < 0 && posix::make_folders(posix::folder_of(path)))
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
    , m_tree(std::make_unique<RegistryTree>(fold))
    , m_stamp(std::make_unique<FileStamp>())
    , m_generation(next_generation())
{
    m_stamp->inode = static_cast<ino_t>(-1); // never matches: load at first use
}

RegistryStore::~RegistryStore()
{
    stop_watching();
}

std::uint64_t RegistryStore::generation()
{
    std::lock_guard guard(m_mutex);
    if (file_touched())
        reload_if_changed();
    return m_generation;
}

void RegistryStore::stop_watching()
{
    if (m_watch >= 0)
        close(m_watch);
    m_watch = -1;
}

bool RegistryStore::file_touched()
{
    if (m_watch < 0) {
        // Watch the folder, since a replacement renames a new file over the old one.
        m_watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        const std::string folder = posix::folder_of(m_path);
        if (m_watch >= 0
            && inotify_add_watch(m_watch, folder.empty() ? "." : folder.c_str(),
                   IN_CLOSE_WRITE | IN_MODIFY | IN_ATTRIB | IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO
                       | IN_DELETE_SELF | IN_MOVE_SELF)
                < 0)
            stop_watching();
        return true; // what happened before the watch is not known
    }
    const std::string name = m_path.substr(m_path.rfind('/') + 1);
    bool touched = false;
    alignas(inotify_event) char buffer[4096];
    for (;;) {
        const ssize_t got = read(m_watch, buffer, sizeof buffer);
        if (got <= 0) {
            if (got < 0 && errno == EINTR)
                continue;
            break;
        }
        for (ssize_t at = 0; at < got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            if (event->mask & (IN_IGNORED | IN_Q_OVERFLOW | IN_DELETE_SELF | IN_MOVE_SELF)) {
                // The folder went, or notices were lost: look again from the start.
                stop_watching();
                return true;
            }
            if (event->len > 0 && std::strcmp(event->name, name.c_str()) == 0)
                touched = true;
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
    return touched;
}

void RegistryStore::reload_if_changed()
{
    const FileStamp now = stamp_of(m_path);
    if (now == *m_stamp)
        return;
    m_generation = next_generation();
    m_tree->clear();
    *m_stamp = now;
    // A file that cannot be read whole is never written over.
    std::string text;
    m_readable = !now.exists || read_whole(m_path, text);
    if (m_readable)
        m_tree->parse(text);
}

bool RegistryStore::write_file()
{
    if (write_file_atomically(from_utf8(m_path), m_tree->text(), 0600) != error_success)
        return false;
    *m_stamp = stamp_of(m_path);
    m_generation = next_generation();
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

bool RegistryStore::create_key(RegistryRoot root, std::u16string_view sub_key)
{
    return change([&](bool apply) {
        if (m_tree->find(root, sub_key))
            return Outcome::unchanged;
        if (!apply)
            return Outcome::changed;
        return m_tree->create(root, sub_key) ? Outcome::changed : Outcome::refused;
    });
}

bool RegistryStore::key_exists(RegistryRoot root, std::u16string_view sub_key)
{
    std::lock_guard guard(m_mutex);
    reload_if_changed();
    return m_tree->find(root, sub_key) != nullptr;
}

bool RegistryStore::set_value(RegistryRoot root, std::u16string_view sub_key, std::u16string_view name,
    std::uint32_t type, std::span<const std::uint8_t> data)
{
    return change([&](bool apply) {
        auto* key = m_tree->find(root, sub_key);
        if (!key)
            return Outcome::refused;
        RegistryValue* value = m_tree->find_value(*key, name);
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
    auto* key = m_tree->find(root, sub_key);
    if (!key)
        return std::nullopt;
    if (const RegistryValue* value = m_tree->find_value(*key, name))
        return *value;
    return std::nullopt;
}

std::optional<std::vector<std::u16string>> RegistryStore::sub_keys(RegistryRoot root, std::u16string_view sub_key)
{
    std::lock_guard guard(m_mutex);
    reload_if_changed();
    auto* key = m_tree->find(root, sub_key);
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
